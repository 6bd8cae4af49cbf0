#include "points/calibration.h"

#include <cmath>
#include <locale>
#include <sstream>

#include "common/date_axis.h"
#include "common/format.h"
#include "common/translate.h"

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

TickAxis axisFromTicks(KnownTick a, KnownTick b, int32_t low, int32_t high, bool log) {
    TickAxis r;
    if (a.pixel == b.pixel) {
        r.error =
            translate("qf::Messages", "2 つの目盛りが同じ位置です。離れた目盛りを選んでください。");
        return r;
    }
    if (!std::isfinite(a.value) || !std::isfinite(b.value) || a.value == b.value) {
        r.error = translate("qf::Messages", "2 つの目盛りには異なる値を入力してください。");
        return r;
    }
    if (log && !(a.value > 0 && b.value > 0)) {
        r.error = translate("qf::Messages", "対数軸の目盛りの値は正の数でなければなりません。");
        return r;
    }
    const auto to = [log](double v) { return log ? lg(v) : v; };
    const auto from = [log](double v) { return log ? std::pow(10.0, v) : v; };
    const double slope = (to(b.value) - to(a.value)) / (double(b.pixel) - a.pixel);
    r.atLow = from(to(a.value) + slope * (double(low) - a.pixel));
    r.atHigh = from(to(a.value) + slope * (double(high) - a.pixel));
    if (!std::isfinite(r.atLow) || !std::isfinite(r.atHigh))
        r.error = translate("qf::Messages", "目盛りから求めた軸の値が大きすぎます。");
    return r;
}

std::optional<double> parseTickValue(std::string_view text) {
    std::string s(text);
    // The minus sign of typeset labels, as a hyphen.
    for (std::size_t at; (at = s.find("\xE2\x88\x92")) != std::string::npos;) s.replace(at, 3, "-");
    const std::size_t first = s.find_first_not_of(" \t");
    const std::size_t last = s.find_last_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    s = s.substr(first, last - first + 1);
    std::istringstream in(s);
    in.imbue(std::locale::classic());
    double v = 0;
    if (!(in >> v) || !in.eof() || !std::isfinite(v)) return std::nullopt;
    return v;
}

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
    const auto text = [](std::optional<double> v, bool time) {
        return v ? formatAxisValue(*v, time) : formatValue(v);
    };
    return {formatD(index + 1), text(calibrateX(axis, p.h), axis.xTime),
            text(calibrateY(axis, p.v), axis.yTime), formatD(p.h), formatD(p.v)};
}

}  // namespace qf
