#pragma once
// Where the generated graph's frame, grid lines and points fall, in logical
// drawing coordinates. Pure arithmetic, kept apart from the painting so the
// rounding rules can be read (and tested) in one place.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "common/axis_settings.h"
#include "common/geometry.h"
#include "common/view_transform.h"

namespace qf {

// Points further out than this are not drawn: their coordinates could not be
// held in an int (and no surface is that large).
inline constexpr double kMaxDrawCoordinate = 1073741824.0;  // 2^30

// trunc(v) as a pixel coordinate, or nothing when v is not finite or too far.
std::optional<int32_t> truncToPixel(double v);

// Decimal logarithm as ln(v) / ln(10): lg(0.01) is -1.9999999999999996, which
// decides where the first decade line falls.
double lg(double v);

// Decade exponent of an axis limit: lg(limit), or -24 at or below 1e-24.
double decadeExponent(double limit);

// The axis rectangle's top-left and bottom-right pixels at their pixel centres.
IntRect plotRectOf(const ViewTransform& view, const IntRect& axisRect);

// The nine lines dividing [from, from + extent] into ten.
std::array<int32_t, 9> linearGridLines(int32_t from, int32_t extent);

struct DecadeLine {
    int32_t pos = 0;
    bool decade = false;  // the 2 px line at a power of ten; else a 1 px sub-line
    friend bool operator==(const DecadeLine&, const DecadeLine&) = default;
};

// Decade and sub-decade lines in drawing order, only those strictly inside
// the plot rectangle: vertical lines between left and right, horizontal lines
// counted upward from bottom.
std::vector<DecadeLine> decadeLinesX(double dMin, double dMax, int32_t left, int32_t right);
std::vector<DecadeLine> decadeLinesY(double dMin, double dMax, int32_t top, int32_t bottom);

// A generated point on the plot rectangle, each axis linear or logarithmic
// (the limits are then taken as decade exponents). Xmin maps to plot.left and Xmax to
// plot.right - 1; Ymin maps to plot.bottom and Ymax to plot.top + 1. Nothing
// when the position is undefined (equal limits, log of a non-positive value)
// or out of range.
std::optional<IntPoint> mapGeneratedPoint(double x, double y, const AxisSettings& axis, bool xLog,
                                          bool yLog, const IntRect& plot);

}  // namespace qf
