#pragma once
// The source-point file: "No.,X,Y,H,V", then one row per point, CR LF line
// ends; written in code page 932 with a final NUL by the common text writer,
// or as UTF-8 with LF line ends (common/csv_file.h).

#include <string>
#include <string_view>
#include <vector>

#include "common/axis_settings.h"
#include "points/source_points.h"

namespace qf {

std::string sourcePointFileText(const std::vector<SourcePoint>& points, const AxisSettings& axis);

struct SourcePointFileRead {
    std::vector<SourcePoint> points;
    std::string error;  // why the file was refused, naming its line; empty when read
    bool ok() const { return error.empty(); }
};

// A point file read back, in either form the program writes and as a
// spreadsheet saves it again: code page 932 with its final NUL or UTF-8 with
// or without a byte-order mark, CR LF or LF, with or without the header,
// commas (or semicolons or tabs) between fields, fields in quotes. The points
// are the H and V columns, the pixel positions the file was written from (X
// and Y follow from the axes); without a header they are the fourth and fifth
// fields. Blank lines are passed over. A file with a row that is no point,
// with no point or with more than the list holds is refused as a whole.
SourcePointFileRead readSourcePointText(std::string_view bytes);

}  // namespace qf
