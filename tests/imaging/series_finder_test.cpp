// Finding every series without a click: the colours' plain names, and
// nothing where nothing like a curve is drawn. (What it finds on real
// charts is in series_acceptance_test.cpp.)

#include "imaging/series_finder.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

namespace qf {
namespace {

TEST(SeriesFinder, ColoursHaveTheirPlainNames) {
    const struct {
        cv::Vec3b bgr;
        const char* name;
    } cases[] = {
        // matplotlib's ten colours, gnuplot's first two and the plain ones.
        {{180, 119, 31}, "blue"},  {{14, 127, 255}, "orange"},  {{44, 160, 44}, "green"},
        {{40, 39, 214}, "red"},    {{189, 103, 148}, "purple"}, {{75, 86, 140}, "brown"},
        {{194, 119, 227}, "pink"}, {{127, 127, 127}, "grey"},   {{34, 189, 188}, "olive"},
        {{207, 190, 23}, "cyan"},  {{211, 0, 148}, "purple"},   {{115, 158, 0}, "green"},
        {{0, 0, 0}, "black"},      {{250, 250, 250}, "white"},  {{144, 16, 176}, "magenta"},
    };
    for (const auto& c : cases) EXPECT_EQ(colourName(c.bgr), c.name) << c.bgr;
}

TEST(SeriesFinder, NothingLikeACurveGivesNoSeries) {
    const IntRect axis{20, 20, 379, 279};
    // A blank chart with only its frame, grid and some text.
    cv::Mat blank(300, 400, CV_8UC3, cv::Scalar(255, 255, 255));
    for (int k = 1; k < 6; ++k) {
        cv::line(blank, {20 + 60 * k, 20}, {20 + 60 * k, 279}, cv::Scalar(200, 200, 200), 1);
        cv::line(blank, {20, 20 + 45 * k}, {379, 20 + 45 * k}, cv::Scalar(200, 200, 200), 1);
    }
    cv::rectangle(blank, {20, 20}, {379, 279}, cv::Scalar(0, 0, 0), 1);
    cv::putText(blank, "no data", {150, 150}, cv::FONT_HERSHEY_SIMPLEX, 0.6, cv::Scalar(0, 0, 0));
    EXPECT_TRUE(extractEverySeries(blank, axis, {}).empty());

    // Noise: every pixel black or white.
    cv::Mat grey(300, 400, CV_8U);
    cv::theRNG().state = 7;
    cv::randu(grey, cv::Scalar(0), cv::Scalar(256));
    cv::threshold(grey, grey, 127, 255, cv::THRESH_BINARY);
    cv::Mat noise;
    cv::cvtColor(grey, noise, cv::COLOR_GRAY2BGR);
    EXPECT_TRUE(extractEverySeries(noise, axis, {}).empty());

    // A curve, but the caller stops at once; and no picture or rectangle.
    cv::Mat chart = blank.clone();
    cv::line(chart, {25, 250}, {370, 40}, cv::Scalar(180, 119, 31), 2, cv::LINE_AA);
    ASSERT_EQ(extractEverySeries(chart, axis, {}).size(), 1u);
    EXPECT_TRUE(extractEverySeries(chart, axis, {}, [] { return true; }).empty());
    EXPECT_TRUE(extractEverySeries(cv::Mat(), axis, {}).empty());
    EXPECT_TRUE(extractEverySeries(chart, {500, 20, 600, 279}, {}).empty());
}

}  // namespace
}  // namespace qf
