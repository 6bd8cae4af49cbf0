#include "points/source_point_file.h"

#include "points/calibration.h"

namespace qf {

std::string sourcePointFileText(const SourcePointList& list, const AxisSettings& axis) {
    std::string text = "No.,X,Y,H,V\r\n";
    for (int32_t i = 0; i < list.pointCount && i < kMaxSourcePoints; ++i) {
        const auto fields = sourcePointTexts(i, list.points[i], axis);
        for (std::size_t f = 0; f < fields.size(); ++f) {
            text += fields[f];
            text += f + 1 < fields.size() ? "," : "\r\n";
        }
    }
    return text;
}

}  // namespace qf
