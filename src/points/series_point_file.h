#pragma once
// Every series' points in one file, in long form: "series,x,y", then one
// row per point, the series in their order and each one's points in theirs,
// CR LF line ends (the batch mode's series.csv has the same columns). The
// values are those of the source-point file.

#include <string>
#include <utility>
#include <vector>

#include "common/axis_settings.h"
#include "points/source_points.h"

namespace qf {

// (name, points) of each series; a name with a comma, a quote or a line
// break is quoted, its quotes doubled.
std::string seriesLongFormText(
    const std::vector<std::pair<std::string, const std::vector<SourcePoint>*>>& series,
    const AxisSettings& axis);

}  // namespace qf
