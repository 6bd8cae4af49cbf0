#include "points/source_point_file.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

#include "common/format.h"
#include "common/translate.h"
#include "points/calibration.h"

namespace qf {

std::string sourcePointFileText(const std::vector<SourcePoint>& points, const AxisSettings& axis) {
    std::string text = "No.,X,Y,H,V\r\n";
    const std::size_t count = std::min(points.size(), std::size_t(kMaxSourcePoints));
    for (std::size_t i = 0; i < count; ++i) {
        const auto fields = sourcePointTexts(int32_t(i), points[i], axis);
        for (std::size_t f = 0; f < fields.size(); ++f) {
            text += fields[f];
            text += f + 1 < fields.size() ? "," : "\r\n";
        }
    }
    return text;
}

namespace {

std::string_view trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
    return s;
}

std::vector<std::string_view> fieldsOf(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t at = line.find(separator);
        fields.push_back(trimmed(line.substr(0, at)));
        if (at == std::string_view::npos) return fields;
        line.remove_prefix(at + 1);
    }
}

// A pixel position as the file writes it ("80"); a spreadsheet may have
// made it "80.0".
bool pixelOf(std::string_view text, int32_t& out) {
    const std::string s(text);
    if (s.empty()) return false;
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size() || !std::isfinite(v) || v != std::floor(v) ||
        std::fabs(v) > double(std::numeric_limits<int32_t>::max()))
        return false;
    out = int32_t(v);
    return true;
}

bool named(std::string_view field, char name) {
    return field.size() == 1 && (field[0] == name || field[0] == name - 'A' + 'a');
}

}  // namespace

SourcePointFileRead readSourcePointText(std::string_view bytes) {
    SourcePointFileRead r;
    const auto refuse = [&r](const char* text, std::size_t line) {
        r.points.clear();
        r.error =
            substitute(translate("qf::Messages", text), {formatD(static_cast<long long>(line))});
        return r;
    };
    // The written form ends with the converter's NUL; a UTF-8 file may start
    // with a byte-order mark.
    while (!bytes.empty() && bytes.back() == '\0') bytes.remove_suffix(1);
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    char separator = 0;
    std::size_t hColumn = 3, vColumn = 4;
    bool first = true;
    std::size_t lineNumber = 0;
    while (!bytes.empty()) {
        ++lineNumber;
        const std::size_t end = bytes.find('\n');
        const std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (trimmed(line).empty()) continue;
        if (!separator) {
            separator = ',';
            for (char c : {',', ';', '\t'})
                if (line.find(c) != std::string_view::npos) {
                    separator = c;
                    break;
                }
        }
        const std::vector<std::string_view> fields = fieldsOf(line, separator);
        if (std::exchange(first, false)) {
            const auto column = [&fields](char name) {
                return std::size_t(
                    std::find_if(fields.begin(), fields.end(),
                                 [name](std::string_view f) { return named(f, name); }) -
                    fields.begin());
            };
            if (column('H') < fields.size() || column('V') < fields.size()) {
                hColumn = column('H');
                vColumn = column('V');
                if (hColumn == fields.size() || vColumn == fields.size())
                    return refuse(QT_TRANSLATE_NOOP("qf::Messages",
                                                    "%1 行目の見出しに H と V の列がありません。"),
                                  lineNumber);
                continue;
            }
        }
        SourcePoint p;
        if (std::max(hColumn, vColumn) >= fields.size() || !pixelOf(fields[hColumn], p.h) ||
            !pixelOf(fields[vColumn], p.v))
            return refuse(
                QT_TRANSLATE_NOOP(
                    "qf::Messages",
                    "%1 行目は点の行ではありません (H と V に整数の画素位置が要ります)。"),
                lineNumber);
        if (r.points.size() == std::size_t(kMaxSourcePoints))
            return refuse(QT_TRANSLATE_NOOP("qf::Messages", "%1 行目: 点は 256 個までです。"),
                          lineNumber);
        r.points.push_back(p);
    }
    if (r.points.empty()) r.error = translate("qf::Messages", "ファイルに点がありません。");
    return r;
}

}  // namespace qf
