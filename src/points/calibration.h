#pragma once
// Pixel position to axis value, from the axis settings. Values are derived
// whenever they are needed, so changing the axes re-values every point.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/axis_settings.h"
#include "common/geometry.h"

namespace qf {

// X of pixel column h; none on a logarithmic axis whose minimum is below
// 1e-24 or not below its maximum, or when the axis rectangle has no width.
std::optional<double> calibrateX(const AxisSettings& axis, int32_t h);

// Y of pixel row v (growing downward); none as for calibrateX.
std::optional<double> calibrateY(const AxisSettings& axis, int32_t v);

// "%G" of the value, or "<?>" when it is undefined.
std::string formatValue(std::optional<double> value);

// The five texts of a point's row in the point list and the point file:
// number (index + 1), X, Y, H, V.
std::array<std::string, 5> sourcePointTexts(int32_t index, SourcePoint p, const AxisSettings& axis);

}  // namespace qf
