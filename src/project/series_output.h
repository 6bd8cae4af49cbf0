#pragma once
// The batch mode's files for a project of several series: a folder per
// series, and the points of all of them side by side for other programs.

#include <string>
#include <vector>

#include "common/axis_settings.h"
#include "document/document_record.h"

namespace qf {

// A folder name per series, in order: the series' name with path separators,
// control characters and the characters other systems refuse in a name made
// "_", leading dots and blanks dropped, cut to a length every file system
// takes; "series-N" (N from 1) for a name that leaves nothing or names one of
// the result files; "-2", "-3", ... appended to names already taken (letter
// case ignored, as a folder copied to a case-blind disk would have it).
std::vector<std::string> seriesFolderNames(const std::vector<Series>& series);

// A series' name as the tables print it: its name, or its folder's fallback
// when it has none.
std::string seriesLabel(const Series& series, std::size_t index);

// One series' points as axis values, in the order of its points.
struct SeriesValues {
    std::string label;
    std::vector<double> x, y;
};

// The points' axis values; points with no value on either axis are left out.
SeriesValues seriesValuesOf(const std::string& label, const std::vector<SourcePoint>& points,
                            const AxisSettings& axis);

// series.csv: "series,x,y", then every point of every series (CR LF line
// ends; numbers that read back as the same doubles).
std::string seriesLongCsvText(const std::vector<SeriesValues>& series);

// series-wide.csv: "x,<series>...", one row per X value any series has
// (sorted), each series' Y at that X: its own where it has a point there,
// else interpolated between its neighbours (in log10 on a logarithmic axis),
// and empty outside its X range.
std::string seriesWideCsvText(const std::vector<SeriesValues>& series, const AxisSettings& axis);

}  // namespace qf
