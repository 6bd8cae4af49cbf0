#include "points/source_point_file.h"

#include <algorithm>

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

}  // namespace qf
