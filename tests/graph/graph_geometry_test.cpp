#include "graph/graph_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace qf {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::vector<int32_t> positions(const std::vector<DecadeLine>& lines, bool decade) {
    std::vector<int32_t> out;
    for (const DecadeLine& l : lines) {
        if (l.decade == decade) out.push_back(l.pos);
    }
    return out;
}

TEST(GraphGeometry, LinearGridDividesThePlotIntoTen) {
    EXPECT_EQ(linearGridLines(55, 50),
              (std::array<int32_t, 9>{60, 65, 70, 75, 80, 85, 90, 95, 100}));
    EXPECT_EQ(linearGridLines(55, 30),
              (std::array<int32_t, 9>{58, 61, 64, 67, 70, 73, 76, 79, 82}));
    // Truncated toward zero, also left of the window origin.
    EXPECT_EQ(linearGridLines(-7, 25)[0], -4);
}

TEST(GraphGeometry, DecadesFromAHundredthToAHundred) {
    // lg(0.01) is -1.9999999999999996: the first decade line truncates to 54,
    // outside the plot, and the sums' order puts the third one on 255, not 254.
    const std::vector<DecadeLine> lines = decadeLinesX(lg(0.01), lg(100.0), 55, 455);
    EXPECT_EQ(positions(lines, true), (std::vector<int32_t>{154, 255, 355}));
    const std::vector<int32_t> sub = positions(lines, false);
    const std::vector<int32_t> firstDecade(sub.begin(), sub.begin() + 8);
    EXPECT_EQ(firstDecade, (std::vector<int32_t>{85, 102, 115, 124, 132, 139, 145, 150}));
    // k = 1 redraws each visible decade line with the thin pen.
    EXPECT_EQ(sub.size(), 8u + 3 * 9u);
    EXPECT_EQ(lines[8], (DecadeLine{154, true}));
    EXPECT_EQ(lines[9], (DecadeLine{154, false}));
}

TEST(GraphGeometry, DecadesOnYCountUpFromTheBottom) {
    const std::vector<DecadeLine> lines = decadeLinesY(0.0, 2.0, 20, 220);
    EXPECT_EQ(positions(lines, true), (std::vector<int32_t>{120}));
    const std::vector<int32_t> sub = positions(lines, false);
    EXPECT_EQ(sub.front(), 189);  // trunc(220 - lg 2 * 100)
    EXPECT_EQ(sub.size(), 8u + 9u);
}

TEST(GraphGeometry, ZeroLowerLimitSpansTwentyFourDecades) {
    EXPECT_EQ(decadeExponent(0.0), -24.0);
    EXPECT_EQ(decadeExponent(1e-24), -24.0);
    EXPECT_EQ(decadeExponent(-5.0), -24.0);
    const std::vector<int32_t> decades =
        positions(decadeLinesX(decadeExponent(0.0), decadeExponent(1.0), 55, 455), true);
    ASSERT_EQ(decades.size(), 23u);  // the 24th decade line is the left edge itself
    EXPECT_EQ(decades.front(), 71);  // 55 + 400 / 24
    EXPECT_EQ(decades.back(), 438);
}

TEST(GraphGeometry, NoDecadesForUnusableLimits) {
    EXPECT_TRUE(decadeLinesX(2.0, 2.0, 0, 100).empty());
    EXPECT_TRUE(decadeLinesX(1.5, 1.5, 0, 100).empty());
    EXPECT_TRUE(decadeLinesX(-24.0, decadeExponent(kInf), 0, 100).empty());
    EXPECT_TRUE(decadeLinesX(2.0, 1.0, 0, 100).empty());
    EXPECT_EQ(decadeExponent(kNaN), -24.0);
}

struct MapCase {
    const char* what;
    double x, y;
    bool xLog, yLog;
    AxisSettings axis;
    bool drawn;
    IntPoint at;
};

TEST(GraphGeometry, MapsLimitsOntoThePlotAndRefusesUndefinedPoints) {
    const IntRect plot{55, 55, 105, 85};
    AxisSettings lin;
    AxisSettings logs;
    logs.xMin = 0.01;
    logs.xMax = 100;
    logs.yMin = 1;
    logs.yMax = 1000;
    AxisSettings equal;
    equal.xMax = 0.0;
    AxisSettings equalY;
    equalY.yMin = equalY.yMax = 3.0;
    const MapCase cases[] = {
        {"max corner", 1, 1, false, false, lin, true, {104, 56}},
        {"min corner", 0, 0, false, false, lin, true, {55, 85}},
        {"outside", 2, -1, false, false, lin, true, {153, 114}},
        {"log max", 100, 1000, true, true, logs, true, {104, 56}},
        {"log min", 0.01, 1, true, true, logs, true, {55, 85}},
        // trunc(85 - 9.67): the linear rule, 85 - trunc(9.67), would give 76.
        {"log y truncates the difference", 0.5, 10, false, true, logs, true, {55, 75}},
        {"equal x limits", 0, 0, false, false, equal, false, {}},
        {"equal y limits", 0, 3, false, false, equalY, false, {}},
        {"log of zero", 0, 10, true, false, logs, false, {}},
        {"log of negative", 1, -10, false, true, logs, false, {}},
        {"NaN value", kNaN, 0.5, false, false, lin, false, {}},
        {"infinite value", 0.5, kInf, false, false, lin, false, {}},
        {"beyond int range", 1e300, 0.5, false, false, lin, false, {}},
        {"just inside range", 1e7, 0.5, false, false, lin, true, {490000055, 71}},
    };
    for (const MapCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<IntPoint> at =
            mapGeneratedPoint(c.x, c.y, c.axis, c.xLog, c.yLog, plot);
        ASSERT_EQ(at.has_value(), c.drawn);
        if (at) {
            EXPECT_EQ(*at, c.at);
        }
    }
}

TEST(GraphGeometry, PlotRectangleFollowsZoomAndScroll) {
    ViewTransform view;
    EXPECT_EQ(plotRectOf(view, {55, 55, 105, 85}), (IntRect{55, 55, 105, 85}));
    view.zoomShift = 2;
    view.cellSize = {4, 4};
    view.scrollPos = {40, 100};
    // Cell centres in logical coordinates; the scroll position cancels out.
    EXPECT_EQ(plotRectOf(view, {55, 55, 105, 85}), (IntRect{222, 222, 422, 342}));
    view.zoomShift = -1;
    view.cellSize = {1, 1};
    view.scrollPos = {0, 0};
    EXPECT_EQ(plotRectOf(view, {55, 55, 105, 85}), (IntRect{27, 27, 52, 42}));
}

}  // namespace
}  // namespace qf
