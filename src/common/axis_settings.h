#pragma once
// Value range and scale of both axes, and the rectangle on the image whose
// left, right, bottom and top edges carry Xmin, Xmax, Ymin and Ymax.

#include <cstdint>

#include "common/geometry.h"

namespace qf {

struct AxisSettings {
    double xMin = 0.0;
    double xMax = 1.0;
    double yMin = 0.0;
    double yMax = 1.0;
    bool xLog = false;  // base-10 logarithmic
    bool yLog = false;
    IntRect axisRect{55, 55, 105, 85};
    // Date axis: the values are instants, seconds since 1970-01-01T00:00:00Z
    // (common/date_axis.h); linear in time, never logarithmic as well. Last,
    // so that the positional initialisers of the fields above stay valid.
    bool xTime = false;
    bool yTime = false;
    friend bool operator==(const AxisSettings&, const AxisSettings&) = default;
};

}  // namespace qf
