#include "graph/graph_geometry.h"

#include <cmath>

namespace qf {

namespace {

constexpr int kGridDivisions = 10;

// Decade range [floor(dMin), ceil(dMax)) as whole exponents; nothing when the
// exponents are not those of a double (the caller's limits are then garbage).
std::optional<std::pair<int32_t, int32_t>> decadeSpan(double dMin, double dMax) {
    if (!std::isfinite(dMin) || !std::isfinite(dMax)) return std::nullopt;
    const double f = std::floor(dMin);
    const double c = std::ceil(dMax);
    if (std::abs(f) > 400.0 || std::abs(c) > 400.0) return std::nullopt;
    return std::pair{static_cast<int32_t>(f), static_cast<int32_t>(c)};
}

struct DecadeScale {
    int32_t count = 0;  // decades to walk, from the one at or below the low limit
    double first = 0;   // offset of the first decade line from the edge (<= 0)
    double step = 0;    // one decade in pixels
};

DecadeScale decadeScale(double dMin, double dMax, double extent) {
    const auto span = decadeSpan(dMin, dMax);
    if (!span || dMax == dMin) return {};
    const double s = extent / (dMax - dMin);
    return {span->second - span->first, (span->first - dMin) * s, s};
}

// positionOf(j, k) is the line of decade j (k = 0) or its sub-line k.
template <typename PositionOf>
std::vector<DecadeLine> decadeLines(int32_t count, int32_t lo, int32_t hi, PositionOf positionOf) {
    std::vector<DecadeLine> lines;
    for (int32_t j = 0; j < count; ++j) {
        for (int k = 0; k <= 9; ++k) {
            const std::optional<int32_t> pos = truncToPixel(positionOf(j, k));
            if (pos && lo < *pos && *pos < hi) lines.push_back({*pos, k == 0});
        }
    }
    return lines;
}

}  // namespace

std::optional<int32_t> truncToPixel(double v) {
    if (!std::isfinite(v) || std::abs(v) >= kMaxDrawCoordinate) return std::nullopt;
    return static_cast<int32_t>(std::trunc(v));
}

double lg(double v) {
    return std::log(v) / std::log(10.0);
}

double decadeExponent(double limit) {
    return limit > 1e-24 ? lg(limit) : -24.0;
}

IntRect plotRectOf(const ViewTransform& view, const IntRect& axisRect) {
    const IntPoint tl = pixelCentreOf(view, {axisRect.left, axisRect.top});
    const IntPoint br = pixelCentreOf(view, {axisRect.right, axisRect.bottom});
    return {tl.x, tl.y, br.x, br.y};
}

std::array<int32_t, 9> linearGridLines(int32_t from, int32_t extent) {
    std::array<int32_t, 9> lines{};
    for (int i = 1; i <= 9; ++i) {
        const double pos = from + static_cast<double>(i) * extent / kGridDivisions;
        lines[i - 1] = static_cast<int32_t>(std::trunc(pos));
    }
    return lines;
}

// The sums are evaluated in this order on purpose: one ulp decides whether a
// line at an exact power of ten truncates onto its pixel or the one before.
std::vector<DecadeLine> decadeLinesX(double dMin, double dMax, int32_t left, int32_t right) {
    const DecadeScale d = decadeScale(dMin, dMax, static_cast<double>(right) - left);
    return decadeLines(d.count, left, right, [&](int32_t j, int k) {
        const double at = left + d.first + j * d.step;
        return k == 0 ? at : at + lg(k) * d.step;
    });
}

std::vector<DecadeLine> decadeLinesY(double dMin, double dMax, int32_t top, int32_t bottom) {
    const DecadeScale d = decadeScale(dMin, dMax, static_cast<double>(bottom) - top);
    return decadeLines(d.count, top, bottom, [&](int32_t j, int k) {
        const double offset = d.first + j * d.step;
        return bottom - (k == 0 ? offset : offset + lg(k) * d.step);
    });
}

std::optional<IntPoint> mapGeneratedPoint(double x, double y, const AxisSettings& axis, bool xLog,
                                          bool yLog, const IntRect& plot) {
    const double w = static_cast<double>(plot.right) - plot.left - 1;
    const double h = static_cast<double>(plot.bottom) - plot.top - 1;

    std::optional<int32_t> px;
    if (xLog) {
        const double dMin = decadeExponent(axis.xMin);
        const double span = decadeExponent(axis.xMax) - dMin;
        if (span != 0.0) px = truncToPixel(w * (lg(x) - dMin) / span + plot.left);
    } else {
        const double span = axis.xMax - axis.xMin;
        if (span != 0.0) px = truncToPixel(w * (x - axis.xMin) / span + plot.left);
    }

    std::optional<int32_t> py;
    if (yLog) {
        const double dMin = decadeExponent(axis.yMin);
        const double span = decadeExponent(axis.yMax) - dMin;
        if (span != 0.0) py = truncToPixel(plot.bottom - h * (lg(y) - dMin) / span);
    } else {
        // The linear mapping truncates the offset before subtracting it, the
        // logarithmic one truncates the difference; they can differ by one.
        const double span = axis.yMax - axis.yMin;
        if (span != 0.0) {
            if (const auto offset = truncToPixel(h * (y - axis.yMin) / span)) {
                py = truncToPixel(static_cast<double>(plot.bottom) - *offset);
            }
        }
    }

    if (!px || !py) return std::nullopt;
    return IntPoint{*px, *py};
}

}  // namespace qf
