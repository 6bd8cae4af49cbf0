// The plot frame of straight charts drawn here: axis lines with or without
// the top and right sides, tick marks inside or outside, a grid and a curve
// that must not be taken for either.

#include "reading/plot_frame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <opencv2/imgproc.hpp>
#include <string>

namespace qf {
namespace {

struct Drawing {
    const char* name;
    bool top, right;  // the frame's other two sides
    int tick;         // tick length: > 0 outward, < 0 inward
    bool grid, curve;
};

// Axes from (60, 400) to (560, 40), ticks every 50 pixels.
cv::Mat draw(const Drawing& d) {
    cv::Mat m(460, 620, CV_8UC3, cv::Scalar(255, 255, 255));
    const cv::Scalar black(0, 0, 0), grey(190, 190, 190);
    if (d.grid) {
        for (int x = 110; x < 560; x += 50) cv::line(m, {x, 40}, {x, 400}, grey, 1);
        for (int y = 350; y > 40; y -= 50) cv::line(m, {60, y}, {560, y}, grey, 1);
    }
    cv::line(m, {60, 400}, {560, 400}, black, 1);
    cv::line(m, {60, 400}, {60, 40}, black, 1);
    if (d.top) cv::line(m, {60, 40}, {560, 40}, black, 1);
    if (d.right) cv::line(m, {560, 40}, {560, 400}, black, 1);
    for (int x = 60; x <= 560; x += 50) cv::line(m, {x, 400}, {x, 400 + d.tick}, black, 1);
    for (int y = 400; y >= 40; y -= 40) cv::line(m, {60, y}, {60 - d.tick, y}, black, 1);
    if (d.curve) {
        // Steep where it leaves the bottom axis, between two ticks.
        std::vector<cv::Point> pts;
        for (int x = 135; x < 560; x += 2) pts.push_back({x, 400 - (x - 135) * (x - 135) / 500});
        cv::polylines(m, pts, false, cv::Scalar(200, 80, 30), 2);
    }
    return m;
}

TEST(PlotFrame, AxesTicksAndSidesOfDrawnCharts) {
    const Drawing drawings[] = {
        {"framed, ticks outside", true, true, 6, false, false},
        {"framed, ticks inside", true, true, -6, false, false},
        {"left and bottom axes only", false, false, 6, false, false},
        {"grid and curve", true, true, 6, true, true},
        {"no spines, grid and curve, ticks inside", false, false, -6, true, true},
    };
    for (const Drawing& d : drawings) {
        const PlotFrame f = findPlotFrame(draw(d));
        ASSERT_TRUE(f.found) << d.name << ": " << f.reason;
        EXPECT_EQ(f.axisRect, (IntRect{60, 40, 560, 400})) << d.name;
        EXPECT_EQ(f.hasTop, d.top) << d.name;
        EXPECT_EQ(f.hasRight, d.right) << d.name;
        ASSERT_EQ(f.xTicks.size(), 11u) << d.name;
        for (std::size_t i = 0; i < f.xTicks.size(); ++i)
            EXPECT_NEAR(f.xTicks[i], 60 + 50.0 * i, 0.05) << d.name;
        ASSERT_EQ(f.yTicks.size(), 10u) << d.name;
        for (std::size_t i = 0; i < f.yTicks.size(); ++i)
            EXPECT_NEAR(f.yTicks[i], 40 + 40.0 * i, 0.05) << d.name;
        EXPECT_EQ(f.xTickOutside, d.tick > 0 ? d.tick : 0) << d.name;
    }
}

// Styles that draw no axis lines: the plot is where its filled background,
// its light grid or its lone tick marks are, and the grid lines (or tick
// marks where drawn) are the ticks. Plot from (60, 40) to (560, 400), grid every 50 and 40 pixels.
TEST(PlotFrame, PlotAreasWithoutAxisLines) {
    struct Style {
        const char* name;
        int background;  // grey level inside the plot; 255: the paper's
        int grid;        // the grid's grey level
        int tick;        // tick marks: > 0 outward, < 0 inward, 0 none
    };
    const Style styles[] = {
        {"grey background, white grid, ticks outside", 229, 255, 5},
        {"grey background, no ticks", 234, 255, 0},
        {"light grid only", 255, 216, 0},
        {"light grid, ticks inside", 255, 200, -6},
        {"tick marks inside only", 255, 255, -6},
    };
    for (const Style& s : styles) {
        cv::Mat m(460, 620, CV_8UC3, cv::Scalar::all(255));
        const cv::Scalar ink = cv::Scalar::all(30), grid = cv::Scalar::all(s.grid);
        if (s.background < 255)
            cv::rectangle(m, cv::Rect(60, 40, 501, 361), cv::Scalar::all(s.background), cv::FILLED);
        // With a filled background the grid's edge lines are those of the fill.
        const int from = s.background < 255 ? 1 : 0, to = s.background < 255 ? 9 : 10;
        for (int k = from; k <= to; ++k)
            cv::line(m, {60 + 50 * k, 40}, {60 + 50 * k, 400}, grid, 1);
        for (int k = from; k <= 9 - from; ++k)
            cv::line(m, {60, 40 + 40 * k}, {560, 40 + 40 * k}, grid, 1);
        if (s.tick != 0) {
            const int out = s.tick > 0 ? 1 : -1, len = std::abs(s.tick);
            for (int k = 0; k <= 10; ++k)
                cv::line(m, {60 + 50 * k, 400 + out}, {60 + 50 * k, 400 + out * len}, ink, 1);
            for (int k = 0; k <= 9; ++k)
                cv::line(m, {60 - out, 40 + 40 * k}, {60 - out * len, 40 + 40 * k}, ink, 1);
        }
        // A curve across the plot, and labels that must not be taken for it.
        std::vector<cv::Point> pts;
        for (int x = 90; x <= 530; x += 2) pts.push_back({x, 380 - (x - 60) * (x - 60) / 800});
        cv::polylines(m, pts, false, cv::Scalar(200, 80, 30), 2);
        for (int k = 0; k <= 10; k += 2)
            cv::putText(m, std::to_string(k), {54 + 50 * k, 425}, cv::FONT_HERSHEY_SIMPLEX, 0.45,
                        ink, 1);
        for (int k = 0; k <= 9; k += 3)
            cv::putText(m, std::to_string(9 - k), {38, 45 + 40 * k}, cv::FONT_HERSHEY_SIMPLEX, 0.45,
                        ink, 1);

        const PlotFrame f = findPlotFrame(m);
        ASSERT_TRUE(f.found) << s.name << ": " << f.reason;
        const IntRect& r = f.axisRect;
        EXPECT_NEAR(r.left, 60, 1) << s.name;
        EXPECT_NEAR(r.top, 40, 1) << s.name;
        EXPECT_NEAR(r.right, 560, 1) << s.name;
        EXPECT_NEAR(r.bottom, 400, 1) << s.name;
        // The inner columns of the grid are among the ticks, and nothing
        // lies off the grid.
        for (int k = 1; k <= 9; ++k) {
            double nearest = 1e9;
            for (double t : f.xTicks)
                if (std::abs(t - (60 + 50 * k)) < std::abs(nearest - (60 + 50 * k))) nearest = t;
            EXPECT_NEAR(nearest, 60 + 50 * k, 0.3) << s.name << " column " << k;
        }
        for (double t : f.xTicks)
            EXPECT_NEAR(std::remainder(t - 60, 50.0), 0, 0.3) << s.name << " tick at " << t;
        for (double t : f.yTicks)
            EXPECT_NEAR(std::remainder(t - 40, 40.0), 0, 0.3) << s.name << " tick at " << t;
        EXPECT_GE(f.yTicks.size(), 8u) << s.name;
    }
}

TEST(PlotFrame, PicturesWithoutAxesSayWhy) {
    cv::Mat blank(300, 400, CV_8UC3, cv::Scalar(255, 255, 255));
    cv::Mat lonely = blank.clone();
    cv::line(lonely, {50, 250}, {350, 250}, cv::Scalar(0, 0, 0),
             1);  // a bottom axis and nothing else
    cv::Mat thick = blank.clone();
    cv::rectangle(thick, {40, 40}, {360, 60}, cv::Scalar(0, 0, 0),
                  cv::FILLED);  // a bar, not a line
    cv::rectangle(thick, {40, 40}, {60, 260}, cv::Scalar(0, 0, 0), cv::FILLED);
    for (const cv::Mat& m : {blank, lonely, thick, cv::Mat(20, 20, CV_8UC3, cv::Scalar::all(0))}) {
        const PlotFrame f = findPlotFrame(m);
        EXPECT_FALSE(f.found);
        EXPECT_FALSE(f.reason.empty());
    }
}

}  // namespace
}  // namespace qf
