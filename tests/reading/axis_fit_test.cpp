// The scale the tick labels agree on, with misread labels left out.

#include "reading/axis_fit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qf {
namespace {

// Ticks every 50 pixels from column 100.
std::vector<double> ticks(int n) {
    std::vector<double> p;
    for (int i = 0; i < n; ++i) p.push_back(100 + 50 * i);
    return p;
}

TEST(AxisFit, MisreadLabelIsLeftOutAndDoesNotMoveTheAxis) {
    // 0 1 2 3 4 5 with "3" read as "8" and "5" read as "-5".
    const AxisFit f = fitAxis(ticks(6), {0, 1, 2, 8, 4, -5}, 2.0);
    ASSERT_TRUE(f.ok) << f.reason;
    EXPECT_FALSE(f.log);
    EXPECT_NEAR(f.valueAt(100), 0.0, 1e-12);
    EXPECT_NEAR(f.valueAt(350), 5.0, 1e-12);
    EXPECT_EQ(f.used, (std::vector<bool>{true, true, true, false, true, false}));
}

TEST(AxisFit, ScaleIsTheOneTheLabelsAgreeOn) {
    struct Case {
        std::vector<double> values;
        bool log;
    } cases[] = {
        {{1, 10, 100, 1000}, true},  {{0.001, 0.01, 0.1, 1, 10}, true}, {{10, 20, 30, 40}, false},
        {{1000, 1001, 1002}, false},  // fits both nearly: linear unless log is clearly better
        {{-3, -2, -1, 0, 1}, false},
    };
    for (const Case& c : cases) {
        const AxisFit f = fitAxis(ticks(int(c.values.size())), c.values, 2.0);
        ASSERT_TRUE(f.ok) << c.values.front();
        EXPECT_EQ(f.log, c.log) << c.values.front();
        EXPECT_NEAR(f.valueAt(100), c.values.front(), 1e-9 * std::abs(c.values.back()));
    }
}

TEST(AxisFit, RefusesWhatFewerThanThreeLabelsSupport) {
    struct Case {
        std::vector<double> pixels, values;
    } cases[] = {
        {{}, {}},
        {{100, 150}, {0, 1}},
        {{100, 150, 200, 250}, {5, 5, 5, 5}},                     // one value repeated
        {{100, 150, 200, 250, 300}, {0, 7, 3, 9, 1}},             // no scale at all
        {{100, 150, 200, 250, 300, 350}, {0, 1, 2, 30, 70, 20}},  // half disagree
    };
    for (const Case& c : cases) {
        const AxisFit f = fitAxis(c.pixels, c.values, 2.0);
        EXPECT_FALSE(f.ok) << c.values.size();
        EXPECT_FALSE(f.reason.empty());
    }
}

// "-4 -2 0 2 4" with the minus signs lost: three labels agree on a scale
// running backwards. Refused, while a truly reversed axis, whose labels all
// agree, is read.
TEST(AxisFit, ReversedScaleNeedsEveryLabel) {
    const AxisFit lost = fitAxis(ticks(5), {4, 2, 0, 2, 4}, 2.0, +1);
    EXPECT_FALSE(lost.ok);
    EXPECT_FALSE(lost.reason.empty());
    const AxisFit reversed = fitAxis(ticks(6), {10, 8, 6, 4, 2, 0}, 2.0, +1);
    ASSERT_TRUE(reversed.ok) << reversed.reason;
    EXPECT_NEAR(reversed.valueAt(100), 10.0, 1e-12);
    // Down a Y axis values usually fall as rows grow: the same labels are
    // the usual direction there.
    EXPECT_TRUE(fitAxis(ticks(5), {4, 2, 0, 2, 4}, 2.0, -1).ok);
}

}  // namespace
}  // namespace qf
