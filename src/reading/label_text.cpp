#include "reading/label_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

namespace qf {
namespace {

// Recognition's and typesetting's variants of a character, as one ASCII
// character each; '^' before raised digits. Empty when a character is not
// one a number is printed with.
std::optional<std::string> normalise(std::string_view in) {
    static const struct {
        const char* from;
        const char* to;
    } kMap[] = {
        {"\u2212", "-"},  {"\u2013", "-"},  {"\u2014", "-"},  {"\u2010", "-"},  {"\u2011", "-"},
        {"\u00d7", "x"},  {"\u00b7", "x"},  {"\u22c5", "x"},  {"\u2009", ""},   {"\u202f", ""},
        {"\u00a0", ""},   {"\u2070", "^0"}, {"\u00b9", "^1"}, {"\u00b2", "^2"}, {"\u00b3", "^3"},
        {"\u2074", "^4"}, {"\u2075", "^5"}, {"\u2076", "^6"}, {"\u2077", "^7"}, {"\u2078", "^8"},
        {"\u2079", "^9"}, {"\u207b", "^-"}, {"\u207a", "^+"}, {"\u2019", ""},   {"\u2018", ""},
    };
    std::string out;
    for (std::size_t i = 0; i < in.size();) {
        const unsigned char c = static_cast<unsigned char>(in[i]);
        if (c < 0x80) {
            char a = char(c);
            if (a == 'X' || a == '*') a = 'x';
            if (a == 'O' || a == 'o') a = '0';  // recognition's letter for a zero
            if (a == 'l' || a == 'I' || a == '|') a = '1';
            if (a == ' ' || a == '\'' || a == '$' || a == '{' || a == '}') {
                ++i;
                continue;
            }
            if (!std::isdigit(static_cast<unsigned char>(a)) &&
                std::string_view("+-.,%xeE^").find(a) == std::string_view::npos)
                return std::nullopt;
            out += a;
            ++i;
            continue;
        }
        bool known = false;
        for (const auto& m : kMap) {
            const std::string_view from(m.from);
            if (in.substr(i, from.size()) == from) {
                // Consecutive superscripts make one exponent.
                std::string to = m.to;
                if (to.size() == 2 && to[0] == '^' && !out.empty() && out.back() != '^') {
                    const std::size_t caret = out.rfind('^');
                    bool inExponent = caret != std::string::npos;
                    for (std::size_t k = caret + 1; inExponent && k < out.size(); ++k)
                        inExponent = std::isdigit(static_cast<unsigned char>(out[k])) ||
                                     out[k] == '-' || out[k] == '+';
                    if (inExponent) to = to.substr(1);
                }
                out += to;
                i += from.size();
                known = true;
                break;
            }
        }
        if (!known) return std::nullopt;
    }
    return out;
}

struct Cursor {
    std::string_view s;
    std::size_t i = 0;
    bool at(char c) const { return i < s.size() && s[i] == c; }
    bool digit() const { return i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); }
    bool done() const { return i == s.size(); }
};

// An optional sign then digits: an exponent.
std::optional<int> exponent(Cursor& c) {
    int sign = 1;
    if (c.at('+') || c.at('-')) sign = c.s[c.i++] == '-' ? -1 : 1;
    if (!c.digit()) return std::nullopt;
    int e = 0;
    while (c.digit()) {
        e = e * 10 + (c.s[c.i++] - '0');
        if (e > 400) return std::nullopt;
    }
    return sign * e;
}

// Digits with thousands separators and a decimal point (or a decimal comma
// where a comma is not followed by exactly three digits).
std::optional<double> mantissa(Cursor& c) {
    std::string digits;
    bool point = false;
    const std::size_t start = c.i;
    while (!c.done()) {
        const char ch = c.s[c.i];
        if (c.digit()) {
            digits += ch;
            ++c.i;
        } else if (ch == '.' && !point) {
            point = true;
            digits += '.';
            ++c.i;
        } else if (ch == ',' && !point) {
            std::size_t n = 0;
            while (c.i + 1 + n < c.s.size() &&
                   std::isdigit(static_cast<unsigned char>(c.s[c.i + 1 + n])))
                ++n;
            if (n == 0) return std::nullopt;
            const bool grouped = n == 3 && c.i > start;
            if (grouped) {
                ++c.i;  // thousands separator
            } else {
                point = true;  // decimal comma
                digits += '.';
                ++c.i;
            }
        } else {
            break;
        }
    }
    if (digits.empty() || digits == "." || digits.front() == '.' || digits.back() == '.')
        return std::nullopt;
    // "05": a decimal point lost to recognition, not a number charts print.
    if (digits.size() > 1 && digits[0] == '0' && digits[1] != '.') return std::nullopt;
    // from_chars: the C locale's decimal point whatever the user's locale.
    double v = 0;
    const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    if (r.ec != std::errc() || r.ptr != digits.data() + digits.size()) return std::nullopt;
    return v;
}

}  // namespace

std::optional<LabelValue> parseLabelText(std::string_view text) {
    const std::optional<std::string> norm = normalise(text);
    if (!norm || norm->empty()) return std::nullopt;
    Cursor c{*norm};
    LabelValue out;

    // "x10^4": the axis's multiplier.
    if (c.at('x')) {
        ++c.i;
        if (c.s.substr(c.i, 3) != "10^") return std::nullopt;
        c.i += 3;
        const std::optional<int> e = exponent(c);
        if (!e || !c.done()) return std::nullopt;
        return LabelValue{std::pow(10.0, *e), true, true};
    }
    double sign = 1;
    if (c.at('+') || c.at('-')) sign = c.s[c.i++] == '-' ? -1 : 1;
    // "10^2" and "-10^2".
    if (c.s.substr(c.i, 3) == "10^") {
        c.i += 3;
        const std::optional<int> e = exponent(c);
        if (!e || !c.done()) return std::nullopt;
        return LabelValue{sign * std::pow(10.0, *e), false, true};
    }
    const std::optional<double> m = mantissa(c);
    if (!m) return std::nullopt;
    double value = sign * *m;
    if (c.at('e') || c.at('E')) {
        ++c.i;
        const std::optional<int> e = exponent(c);
        if (!e) return std::nullopt;
        value *= std::pow(10.0, *e);
        out.hasExponent = true;
    } else if (c.at('x')) {
        ++c.i;
        if (c.s.substr(c.i, 3) != "10^") return std::nullopt;
        c.i += 3;
        const std::optional<int> e = exponent(c);
        if (!e) return std::nullopt;
        value *= std::pow(10.0, *e);
        out.hasExponent = true;
    }
    if (c.at('%')) ++c.i;  // "50%" is 50 on the axis, as printed
    if (!c.done() || !std::isfinite(value)) return std::nullopt;
    out.value = value;
    return out;
}

}  // namespace qf
