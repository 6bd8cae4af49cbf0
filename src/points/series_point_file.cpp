#include "points/series_point_file.h"

#include <algorithm>

#include "points/calibration.h"

namespace qf {

namespace {

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

std::string seriesLongFormText(
    const std::vector<std::pair<std::string, const std::vector<SourcePoint>*>>& series,
    const AxisSettings& axis) {
    std::string text = "series,x,y\r\n";
    for (const auto& [name, points] : series) {
        const std::string field = csvField(name);
        const std::size_t count = std::min(points->size(), std::size_t(kMaxSourcePoints));
        for (std::size_t i = 0; i < count; ++i) {
            // The same X and Y texts as the source-point file's.
            const auto fields = sourcePointTexts(int32_t(i), (*points)[i], axis);
            text += field + "," + fields[1] + "," + fields[2] + "\r\n";
        }
    }
    return text;
}

}  // namespace qf
