// Curve extraction on charts drawn by matplotlib (tools/make_extraction_fixtures.py):
// from the click alone, the extracted points' fit follows the function the
// curve was drawn from; and what cannot be extracted says why.

#include "imaging/curve_extraction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <opencv2/imgproc.hpp>
#include <string>

#include "fit/fit_driver.h"
#include "imaging/image_file.h"

namespace qf {
namespace {

const std::string kDir = std::string(QF_SOURCE_DIR) + "/tests/data/extraction/";

const std::map<std::string, std::function<double(double)>> kFunctions = {
    {"cubic", [](double x) { return 2 + 8 * x * x - 0.6 * x * x * x; }},
    {"quadratic", [](double x) { return 20 + 3 * x + 0.5 * x * x; }},
    {"rising", [](double x) { return x * x; }},
    {"falling", [](double x) { return 100 - x * x; }},
    {"markers", [](double x) { return 3 + 0.5 * x * x; }},
    {"exponential", [](double x) { return std::pow(10.0, 0.3 * x); }},
};
// The model each function is fitted with (on a logarithmic Y axis the fit
// works on log10 y, where the exponential is a straight line).
const std::map<std::string, int> kDegrees = {{"cubic", 3},   {"quadratic", 2}, {"rising", 2},
                                             {"falling", 2}, {"markers", 2},   {"exponential", 1}};

AxisSettings axisOf(const nlohmann::json& c) {
    AxisSettings a;
    const auto r = c["axisRect"];
    a.axisRect = {r[0], r[1], r[2], r[3]};
    a.xMin = c["xMin"];
    a.xMax = c["xMax"];
    a.yMin = c["yMin"];
    a.yMax = c["yMax"];
    a.yLog = c["yLog"].get<bool>() ? 1 : 0;
    return a;
}

TEST(CurveExtraction, FromTheClickAloneTheFitFollowsTheDrawnFunction) {
    std::ifstream in(kDir + "charts.json");
    ASSERT_TRUE(in) << kDir;
    const nlohmann::json charts = nlohmann::json::parse(in);
    auto work = std::make_unique<SvdFitWork>();
    int curves = 0;
    for (const nlohmann::json& c : charts) {
        const cv::Mat picture = readImageFile(kDir + c["file"].get<std::string>());
        ASSERT_FALSE(picture.empty()) << c["file"];
        const AxisSettings axis = axisOf(c);
        for (const nlohmann::json& curve : c["curves"]) {
            const std::string name = curve["function"];
            SCOPED_TRACE(c["file"].get<std::string>() + " " + name);
            const IntPoint seed{curve["seed"][0], curve["seed"][1]};
            const ExtractionResult r = extractCurve(picture, axis.axisRect, seed, {});
            ASSERT_TRUE(r.ok) << r.error;
            EXPECT_EQ(r.kind, curve["markers"].get<bool>() ? ExtractedKind::Markers
                                                           : ExtractedKind::Line);
            EXPECT_EQ(r.points.size(), r.kind == ExtractedKind::Markers ? 19u : 20u);

            FitInput fit;
            fit.points = r.points.data();
            fit.pointCount = int32_t(r.points.size());
            fit.axis = axis;
            fit.settings.degree = kDegrees.at(name);
            fit.settings.graphPointCount = 101;
            fit.imagePresent = true;
            FitResult result;
            GeneratedGraph graph;
            ASSERT_EQ(runFit(fit, *work, result, graph).status, FitOk);
            double worst = 0;
            const auto f = kFunctions.at(name);
            for (int l = 0; l < graph.generatedCount; ++l) {
                const double x = graph.generatedX[std::size_t(l)];
                const double y = graph.generatedY[std::size_t(l)];
                const double off = axis.yLog ? std::fabs(std::log10(y) - std::log10(f(x)))
                                               : std::fabs(y - f(x)) / (axis.yMax - axis.yMin);
                worst = std::max(worst, off);
            }
            std::printf("%s %s: %s, largest deviation %.3f %s\n",
                        c["file"].get<std::string>().c_str(), name.c_str(),
                        r.kind == ExtractedKind::Markers ? "markers" : "line",
                        axis.yLog ? worst : worst * 100, axis.yLog ? "decade" : "% of the range");
            EXPECT_LE(worst, axis.yLog ? 0.01 : 0.005);
            ++curves;
        }
    }
    EXPECT_EQ(curves, 7);
}

// A plain chart for the failures: a blue line across a white axis rectangle.
cv::Mat lineChart() {
    cv::Mat m(200, 300, CV_8UC3, cv::Scalar(255, 255, 255));
    cv::line(m, {20, 150}, {280, 50}, cv::Scalar(200, 60, 20), 2, cv::LINE_AA);
    return m;
}

TEST(CurveExtraction, WhatCannotBeExtractedSaysWhyAndGivesNothing) {
    const cv::Mat m = lineChart();
    const IntRect axis{10, 10, 290, 190};
    struct Case {
        IntRect axis;
        IntPoint seed;
        ExtractionSettings settings;
        const char* starts;
    } cases[] = {
        {axis, {150, 150}, {}, "クリックした所の近くに曲線の色が見つかりません"},  // blank paper
        {axis, {5, 5}, {}, "クリックした点が軸の矩形の外です"},
        {{270, 10, 290, 190}, {275, 52}, {}, "曲線は 12 列にしかなく、20 点を置けません"},
        {{400, 10, 500, 190}, {450, 50}, {}, "軸の矩形が画像の上にありません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.starts);
        const ExtractionResult r = extractCurve(m, c.axis, c.seed, c.settings);
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.points.empty());
        EXPECT_EQ(r.error.rfind(c.starts, 0), 0u) << r.error;
    }
    EXPECT_FALSE(extractCurve(cv::Mat(), axis, {50, 50}, {}).ok);

    // A trace that is gone at once: one column of the axis rectangle.
    cv::Mat upright(200, 300, CV_8UC3, cv::Scalar(255, 255, 255));
    cv::line(upright, {150, 30}, {150, 170}, cv::Scalar(200, 60, 20), 1);
    const ExtractionResult r = extractCurve(upright, axis, {150, 100}, {});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error.rfind("曲線が軸の矩形の中にほとんどありません", 0), 0u) << r.error;
}

// A click a pixel or two beside a thin line still takes the line's colour;
// the points sit on the middle of its thickness.
TEST(CurveExtraction, AClickBesideAThinLineFindsItsMiddle) {
    cv::Mat m(200, 300, CV_8UC3, cv::Scalar(255, 255, 255));
    cv::rectangle(m, cv::Rect(10, 99, 280, 3), cv::Scalar(30, 30, 200), cv::FILLED);  // rows 99..101
    for (IntPoint seed : {IntPoint{150, 100}, IntPoint{150, 97}, IntPoint{150, 103}}) {
        const ExtractionResult r = extractCurve(m, {0, 0, 299, 199}, seed, {40, 5, 8});
        ASSERT_TRUE(r.ok) << r.error;
        ASSERT_EQ(r.points.size(), 5u);
        for (const SourcePoint& p : r.points) EXPECT_EQ(p.v, 100);
        EXPECT_EQ(r.points.front().h, 10);
        EXPECT_EQ(r.points.back().h, 289);
    }
}

// Specks of the curve's colour within bridging reach are not bridged to:
// the line ends where it ends. A speck that touches it is part of it; a
// click on a speck alone finds nothing. Also across the tiles the picture
// is read in (the line is longer than one).
TEST(CurveExtraction, SpecksAreNotPartOfTheTrace) {
    cv::Mat m(200, 300, CV_8UC3, cv::Scalar(255, 255, 255));
    cv::rectangle(m, cv::Rect(10, 99, 271, 3), cv::Scalar(30, 30, 200), cv::FILLED);  // to x 280
    const cv::Scalar red(30, 30, 200);
    cv::rectangle(m, cv::Rect(286, 100, 2, 1), red, cv::FILLED);  // 2 px, 6 px beyond the end
    cv::rectangle(m, cv::Rect(150, 105, 1, 3), red, cv::FILLED);  // 3 px, 4 px below the line
    const ExtractionResult r = extractCurve(m, {0, 0, 299, 199}, {150, 100}, {40, 5, 8});
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.points.size(), 5u);
    EXPECT_EQ(r.points.back().h, 280);
    for (const SourcePoint& p : r.points) EXPECT_EQ(p.v, 100) << p.h;

    const ExtractionResult speck = extractCurve(m, {0, 0, 299, 199}, {287, 100}, {40, 5, 8});
    EXPECT_FALSE(speck.ok);
    EXPECT_TRUE(speck.points.empty());
}

// More markers than a fit takes: evenly spaced ones, and the result says so.
TEST(CurveExtraction, MoreMarkersThanAFitTakesAreThinned) {
    cv::Mat m(400, 1400, CV_8UC3, cv::Scalar(255, 255, 255));
    for (int i = 0; i < 200; ++i) cv::circle(m, {20 + 6 * i, 200}, 2, cv::Scalar(0, 0, 220), cv::FILLED);
    const ExtractionResult r = extractCurve(m, {0, 0, 1399, 399}, {20, 200}, {});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.kind, ExtractedKind::Markers);
    EXPECT_EQ(r.found, 200);
    EXPECT_TRUE(r.thinned);
    ASSERT_EQ(r.points.size(), 128u);
    EXPECT_EQ(r.points.front().h, 20);
    EXPECT_EQ(r.points.back().h, 20 + 6 * 199);
}

// Markers cut by the rectangle's edge, the ends of a series, are found; a
// point is where the whole marker's middle would be, never outside the
// rectangle. A line drawn over a marker does not lose it.
TEST(CurveExtraction, MarkersAtTheEdgesAndUnderALineAreFound) {
    cv::Mat picture(200, 300, CV_8UC3, cv::Scalar(255, 255, 255));
    const IntRect axis{40, 20, 240, 180};
    const cv::Scalar purple(150, 40, 120);
    for (int x = 40; x <= 240; x += 40)
        cv::circle(picture, {x, 100}, 7, purple, cv::FILLED, cv::LINE_AA);
    cv::line(picture, {20, 99}, {280, 101}, cv::Scalar(0, 0, 0), 1);  // drawn over them
    picture.colRange(0, 40).setTo(cv::Scalar(255, 255, 255));        // what the axes clip
    picture.colRange(241, 300).setTo(cv::Scalar(255, 255, 255));
    const ExtractionResult r = extractCurve(picture, axis, {120, 94}, {});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.kind, ExtractedKind::Markers);
    ASSERT_EQ(r.points.size(), 6u);
    for (std::size_t i = 0; i < r.points.size(); ++i) {
        EXPECT_NEAR(r.points[i].h, 40 + 40 * int(i), 1);
        EXPECT_NEAR(r.points[i].v, 100, 1);
    }
}

}  // namespace
}  // namespace qf
