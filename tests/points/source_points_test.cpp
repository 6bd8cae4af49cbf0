#include "points/source_points.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "points/calibration.h"

namespace qf {
namespace {

TEST(SourcePoints, HoldAtMost256InInsertionOrder) {
    std::vector<SourcePoint> list;
    for (int i = 0; i < kMaxSourcePoints; ++i) EXPECT_EQ(addSourcePoint(list, {i, 2 * i}), i);
    EXPECT_EQ(addSourcePoint(list, {999, 999}), -1);
    EXPECT_EQ(list.size(), 256u);
    EXPECT_EQ(list[255], (SourcePoint{255, 510}));
}

TEST(SourcePoints, RemovingShiftsLaterPointsDown) {
    std::vector<SourcePoint> list;
    for (int i = 1; i <= 5; ++i) addSourcePoint(list, {i, i});
    EXPECT_TRUE(removeSourcePoint(list, 2));  // point number 3
    EXPECT_EQ(list, (std::vector<SourcePoint>{{1, 1}, {2, 2}, {4, 4}, {5, 5}}));
    EXPECT_TRUE(removeSourcePoint(list, 3));  // the last one
    EXPECT_EQ(list, (std::vector<SourcePoint>{{1, 1}, {2, 2}, {4, 4}}));
    EXPECT_FALSE(removeSourcePoint(list, 3));
    EXPECT_FALSE(removeSourcePoint(list, -1));
    EXPECT_EQ(list.size(), 3u);
}

struct CalCase {
    const char* what;
    double xMin, xMax, yMin, yMax;
    int xLog, yLog;
    SourcePoint p;
    const char* x;
    const char* y;
};

TEST(Calibration, ValuesFollowTheAxisSettings) {
    const CalCase cases[] = {
        // Default axes on the default rectangle (55, 55, 105, 85).
        {"inside", 0, 1, 0, 1, 0, 0, {80, 76}, "0.5", "0.3"},
        {"extrapolated", 0, 1, 0, 1, 0, 0, {30, 40}, "-0.5", "1.5"},
        {"left and bottom edges", 2, 7, -3, 4, 0, 0, {55, 85}, "2", "-3"},
        {"right and top edges", 2, 7, -3, 4, 0, 0, {105, 55}, "7", "4"},
        {"reversed X", 10, 0, 0, 1, 0, 0, {55, 85}, "10", "0"},
        {"log X", 1, 1000, 0, 1, 1, 0, {80, 85}, "31.6228", "0"},
        {"log X ends", 1, 1000, 0, 1, 1, 0, {105, 85}, "1000", "0"},
        {"log Y", 0, 1, 1e-3, 1e3, 0, 1, {55, 70}, "0", "1"},
        {"log X from 0", 0, 1, 0, 1, 1, 0, {80, 76}, "<?>", "0.3"},
        {"log X below 1e-24", 1e-25, 1, 0, 1, 1, 0, {80, 76}, "<?>", "0.3"},
        {"log X equal limits", 5, 5, 0, 1, 1, 0, {80, 76}, "<?>", "0.3"},
        {"log X reversed", 100, 1, 0, 1, 1, 0, {80, 76}, "<?>", "0.3"},
        {"log Y NaN", 0, 1, std::nan(""), 1, 0, 1, {80, 76}, "0.5", "<?>"},
        {"large and small", 0, 3e6, 0, 1e-4, 0, 0, {80, 76}, "1.5E+006", "3E-005"},
    };
    for (const CalCase& c : cases) {
        AxisSettings a;
        a.xMin = c.xMin, a.xMax = c.xMax, a.yMin = c.yMin, a.yMax = c.yMax;
        a.xLog = c.xLog, a.yLog = c.yLog;
        EXPECT_EQ(formatValue(calibrateX(a, c.p.h)), c.x) << c.what;
        EXPECT_EQ(formatValue(calibrateY(a, c.p.v)), c.y) << c.what;
    }
}

TEST(Calibration, AxisRectangleWithoutExtentGivesUndefinedValues) {
    AxisSettings a;
    a.axisRect = {55, 85, 55, 85};
    for (int h : {54, 55, 56}) EXPECT_FALSE(calibrateX(a, h).has_value()) << h;
    for (int v : {84, 85, 86}) EXPECT_FALSE(calibrateY(a, v).has_value()) << v;
}

TEST(Calibration, TickValuesAsTyped) {
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {{"2.5", 2.5},
                 {" -3 ", -3.0},
                 {"\xE2\x88\x92"
                  "4",
                  -4.0},
                 {"1e3", 1000.0},
                 {"1.5E-2", 0.015},
                 {"", std::nullopt},
                 {"abc", std::nullopt},
                 {"2,5", std::nullopt},
                 {"3x", std::nullopt},
                 {"inf", std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(parseTickValue(c.text), c.value) << c.text;
}

// Two ticks of known value give the values at the axis rectangle's edges;
// ticks that cannot say nothing and why.
TEST(Calibration, AxisFromTwoTicks) {
    const TickAxis linear = axisFromTicks({100, 2}, {300, 6}, 60, 340, false);
    ASSERT_TRUE(linear.ok());
    EXPECT_DOUBLE_EQ(linear.atLow, 1.2);
    EXPECT_DOUBLE_EQ(linear.atHigh, 6.8);
    // Rows grow downward: the bottom edge is low.
    const TickAxis log = axisFromTicks({250, 1}, {50, 100}, 260, 40, true);
    ASSERT_TRUE(log.ok());
    EXPECT_NEAR(log.atLow, std::pow(10.0, -0.1), 1e-12);
    EXPECT_NEAR(log.atHigh, std::pow(10.0, 2.1), 1e-9);
    EXPECT_FALSE(axisFromTicks({100, 2}, {100, 6}, 60, 340, false).ok());      // one place
    EXPECT_FALSE(axisFromTicks({100, 2}, {300, 2}, 60, 340, false).ok());      // one value
    EXPECT_FALSE(axisFromTicks({100, -1}, {300, 6}, 60, 340, true).ok());      // log of a negative
    EXPECT_FALSE(axisFromTicks({100, 0}, {101, 1e307}, 60, 340, false).ok());  // overflows
}

TEST(Calibration, RowTextsNumberFromOne) {
    EXPECT_EQ(sourcePointTexts(0, {80, 76}, AxisSettings{}),
              (std::array<std::string, 5>{"1", "0.5", "0.3", "80", "76"}));
}

}  // namespace
}  // namespace qf
