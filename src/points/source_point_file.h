#pragma once
// The source-point file: "No.,X,Y,H,V", then one row per point, CR LF line
// ends; written in code page 932 with a final NUL by the common text writer.

#include <string>
#include <vector>

#include "common/axis_settings.h"
#include "points/source_points.h"

namespace qf {

std::string sourcePointFileText(const std::vector<SourcePoint>& points, const AxisSettings& axis);

}  // namespace qf
