#pragma once
// Pixel position to axis value, from the axis settings. Values are derived
// whenever they are needed, so changing the axes re-values every point.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/axis_settings.h"
#include "common/geometry.h"

namespace qf {

// X of pixel column h; none on a logarithmic axis whose minimum is below
// 1e-24 or not below its maximum, or when the axis rectangle has no width.
std::optional<double> calibrateX(const AxisSettings& axis, int32_t h);

// Y of pixel row v (growing downward); none as for calibrateX.
std::optional<double> calibrateY(const AxisSettings& axis, int32_t v);

// A tick clicked on an axis and the value its label reads: its pixel column
// on the X axis, its row on the Y axis.
struct KnownTick {
    int32_t pixel = 0;
    double value = 0;
};

// The values at an axis's two edges (pixels low and high: the axis
// rectangle's left and right, or bottom and top) that put both ticks at their
// values, on a linear or logarithmic axis; or why there are none.
struct TickAxis {
    double atLow = 0;
    double atHigh = 0;
    std::string error;  // in the user's words; empty when found
    bool ok() const { return error.empty(); }
};
TickAxis axisFromTicks(KnownTick a, KnownTick b, int32_t low, int32_t high, bool log);

// A tick's value as typed: a number in C notation, the Unicode minus taken
// for a hyphen, blanks around it allowed; none for anything else.
std::optional<double> parseTickValue(std::string_view text);

// "%G" of the value, or "<?>" when it is undefined.
std::string formatValue(std::optional<double> value);

// The five texts of a point's row in the point list and the point file:
// number (index + 1), X, Y, H, V; a date axis's value as an ISO 8601 date-time.
std::array<std::string, 5> sourcePointTexts(int32_t index, SourcePoint p, const AxisSettings& axis);

}  // namespace qf
