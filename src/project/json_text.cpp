#include "project/json_text.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/excerpt.h"

namespace qf {
namespace {

// JSON with lists of plain values on one line, so points read as "[h, v]".
void writeJson(const Json& j, std::ostringstream& out, int indent) {
    const auto pad = [&](int n) { out << std::string(static_cast<std::size_t>(n) * 2, ' '); };
    const bool flat = j.is_array() && std::none_of(j.begin(), j.end(),
                                                   [](const Json& e) { return e.is_structured(); });
    if (!j.is_structured()) {
        out << j.dump();
    } else if (flat) {
        out << '[';
        for (std::size_t i = 0; i < j.size(); ++i) out << (i ? ", " : "") << j[i].dump();
        out << ']';
    } else {
        const bool object = j.is_object();
        out << (object ? '{' : '[');
        std::size_t i = 0;
        for (auto it = j.begin(); it != j.end(); ++it, ++i) {
            out << (i ? ",\n" : "\n");
            pad(indent + 1);
            if (object) out << Json(it.key()).dump() << ": ";
            writeJson(*it, out, indent + 1);
        }
        out << '\n';
        pad(indent);
        out << (object ? '}' : ']');
    }
}

// Limits on the shape of a project text. A project needs a few levels, a dozen
// keys per object and some hundred values; a hostile file of deep nesting or
// huge objects is refused early, and reading stays linear in the text's size
// (an object's key lookup costs at most kMaxJsonKeysPerObject comparisons).
constexpr int kMaxJsonDepth = 64;
constexpr std::size_t kMaxJsonKeysPerObject = 256;
constexpr std::size_t kMaxJsonValues = 100000;

// nlohmann's own tree builder, fed through a SAX handler that checks the
// limits before every value is added.
class LimitedJsonBuilder {
public:
    using Dom = nlohmann::detail::json_sax_dom_parser<Json>;
    using string_t = Json::string_t;

    explicit LimitedJsonBuilder(Json& root) : dom_(root, /*allow_exceptions=*/true) {}

    bool null() { return value() && dom_.null(); }
    bool boolean(bool b) { return value() && dom_.boolean(b); }
    bool number_integer(Json::number_integer_t n) { return value() && dom_.number_integer(n); }
    bool number_unsigned(Json::number_unsigned_t n) { return value() && dom_.number_unsigned(n); }
    bool number_float(Json::number_float_t n, const string_t& text) {
        return value() && dom_.number_float(n, text);
    }
    bool string(string_t& s) { return value() && dom_.string(s); }
    bool binary(Json::binary_t& b) { return value() && dom_.binary(b); }
    bool start_object(std::size_t n) {
        open();
        keys_.push_back(0);
        return dom_.start_object(n);
    }
    bool key(string_t& k) {
        if (++keys_.back() > kMaxJsonKeysPerObject)
            throw std::runtime_error("an object holds more than " +
                                     std::to_string(kMaxJsonKeysPerObject) + " keys");
        return value() && dom_.key(k);
    }
    bool end_object() {
        keys_.pop_back();
        --depth_;
        return dom_.end_object();
    }
    bool start_array(std::size_t n) {
        open();
        keys_.push_back(0);
        return dom_.start_array(n);
    }
    bool end_array() {
        keys_.pop_back();
        --depth_;
        return dom_.end_array();
    }
    // nlohmann's message quotes the token it stopped at whole: a number of
    // millions of digits would be printed whole.
    template <class Exception>
    bool parse_error(std::size_t, const std::string& token, const Exception& e) {
        std::string_view all = e.what();
        if (const auto tag = all.find("] "); tag != std::string_view::npos)
            all.remove_prefix(tag + 2);
        const auto at = token.size() > kExcerptLimit ? all.find(token) : std::string_view::npos;
        const std::string what = at == std::string_view::npos
                                     ? std::string(all)
                                     : std::string(all.substr(0, at)) + excerpt(token) +
                                           std::string(all.substr(at + token.size()));
        if constexpr (std::is_same_v<Exception, Json::parse_error>)
            throw std::runtime_error("not valid JSON: " + what);
        throw std::runtime_error(what);
    }

private:
    bool value() {
        if (++values_ > kMaxJsonValues)
            throw std::runtime_error("the file holds more than " + std::to_string(kMaxJsonValues) +
                                     " values; a project needs far fewer");
        return true;
    }
    void open() {
        if (++depth_ > kMaxJsonDepth)
            throw std::runtime_error("lists and objects are nested deeper than " +
                                     std::to_string(kMaxJsonDepth) + " levels");
        value();
    }

    Dom dom_;
    int depth_ = 0;
    std::size_t values_ = 0;
    std::vector<std::size_t> keys_;  // keys of each open object (arrays count none)
};

}  // namespace

Json parseJsonWithLimits(const std::string& text) {
    Json root;
    LimitedJsonBuilder builder(root);
    Json::sax_parse(text, &builder);
    return root;
}

std::string jsonText(const Json& root) {
    std::ostringstream out;
    writeJson(root, out, 0);
    out << '\n';
    return out.str();
}

}  // namespace qf
