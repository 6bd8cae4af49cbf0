#include "points/calibration.h"

#include <cmath>

#include "common/format.h"

namespace qf {
namespace {

double lg(double v) {
    return std::log(v) / std::log(10.0);
}

// The value at fraction t of the way from lo to hi on a linear or
// logarithmic axis.
std::optional<double> valueAt(double t, double lo, double hi, int32_t log) {
    if (!std::isfinite(t)) return std::nullopt;  // the axis rectangle has no extent
    if (!log) return lo + t * (hi - lo);
    if (!(lo < hi && lo >= 1e-24)) return std::nullopt;
    const double a = lg(lo);
    return std::pow(10.0, a + t * (lg(hi) - a));
}

}  // namespace

std::optional<double> calibrateX(const AxisSettings& axis, int32_t h) {
    const IntRect& r = axis.axisRect;
    const double t = static_cast<double>(h - r.left) / static_cast<double>(r.right - r.left);
    return valueAt(t, axis.xMin, axis.xMax, axis.xLog);
}

std::optional<double> calibrateY(const AxisSettings& axis, int32_t v) {
    const IntRect& r = axis.axisRect;
    const double t = static_cast<double>(r.bottom - v) / static_cast<double>(r.bottom - r.top);
    return valueAt(t, axis.yMin, axis.yMax, axis.yLog);
}

std::string formatValue(std::optional<double> value) {
    return value ? formatG(*value) : "<?>";
}

std::array<std::string, 5> sourcePointTexts(int32_t index, SourcePoint p,
                                            const AxisSettings& axis) {
    return {formatD(index + 1), formatValue(calibrateX(axis, p.h)),
            formatValue(calibrateY(axis, p.v)), formatD(p.h), formatD(p.v)};
}

}  // namespace qf
