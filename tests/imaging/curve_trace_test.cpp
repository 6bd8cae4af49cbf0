// The extraction's work is bounded by the axis rectangle's area whatever the
// picture and settings: noise is refused as no curve, the pass over the whole
// rectangle finds exactly the walk's trace, and a cancel stops the work.

#include "imaging/curve_trace.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>
#include <string>

#include "imaging/curve_extraction.h"

namespace qf {
namespace {

using extraction::LazyMask;
using extraction::Trace;
using extraction::TraceEnd;
using extraction::TraceWay;
using extraction::WorkMeter;

// Every pixel black or white (grey), or each channel 0 or 255 (eight colours).
cv::Mat noise(int size, bool colours, uint64_t seed) {
    cv::Mat m(size, size, CV_8UC3);
    cv::RNG rng(seed);
    for (int y = 0; y < size; ++y) {
        auto* row = m.ptr<cv::Vec3b>(y);
        for (int x = 0; x < size; ++x) {
            const auto bit = [&] { return uint8_t(rng.uniform(0, 2) * 255); };
            const uint8_t v = bit();
            row[x] = colours ? cv::Vec3b(v, bit(), bit()) : cv::Vec3b(v, v, v);
        }
    }
    return m;
}

const char* const kNotACurve = "クリックした色が軸の矩形の大部分を占めていて、曲線ではありません";

TEST(ExtractionBound, NoiseIsNoCurveAndItsWorkGrowsWithTheAreaOnly) {
    struct Case {
        int size;
        bool colours;
        ExtractionSettings settings;
        bool notACurve;  // else only the bound is asserted
    } cases[] = {
        {1000, false, {40, 128, 100}, true}, {1000, false, {40, 128, 1}, true},
        {250, false, {40, 128, 100}, true},  {600, true, {40, 128, 100}, false},
        {600, true, {100, 128, 100}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.size) + (c.colours ? " colours" : " grey") + " gap " +
                     std::to_string(c.settings.gap));
        const cv::Mat picture = noise(c.size, c.colours, 11);
        const int64_t area = int64_t(c.size) * c.size;
        // Clicks at a few places: the noise under each differs.
        for (IntPoint seed :
             {IntPoint{c.size / 2, c.size / 2}, IntPoint{3, 5}, IntPoint{c.size - 2, c.size / 3}}) {
            const ExtractionResult r =
                extractCurve(picture, {0, 0, c.size - 1, c.size - 1}, seed, c.settings);
            EXPECT_LE(r.work, extractionWorkBound(area)) << r.error;
            EXPECT_FALSE(r.cancelled);
            if (c.notACurve) {
                EXPECT_FALSE(r.ok);
                EXPECT_TRUE(r.points.empty());
                EXPECT_EQ(r.error.rfind(kNotACurve, 0), 0u) << r.error;
            }
        }
    }
}

// A dashed curve, its dashes up to `gap` apart, with specks of its colour
// beside it and sparse dust; the colour is pure red.
cv::Mat dashedChart(int gap, double dust, uint64_t seed) {
    cv::Mat m(220, 330, CV_8UC3, cv::Scalar(255, 255, 255));
    cv::RNG rng(seed);
    const cv::Scalar red(0, 0, 255);
    for (int x = 5; x < 320;) {
        const int dash = rng.uniform(2, 20);
        const auto y = [](int u) { return 200 - int(0.0017 * u * u); };
        cv::line(m, {x, y(x)}, {x + dash, y(x + dash)}, red, rng.uniform(1, 4));
        x += dash + rng.uniform(1, gap + 1);
    }
    for (int i = 0; i < int(dust * m.total()); ++i)
        m.at<cv::Vec3b>(rng.uniform(0, m.rows), rng.uniform(0, m.cols)) = cv::Vec3b(0, 0, 255);
    return m;
}

// The seed: a pixel of the mask's largest piece.
cv::Point largestPiece(const cv::Mat& picture, const cv::Scalar& lo, const cv::Scalar& hi) {
    cv::Mat lab, mask, labels, stats, centroids;
    cv::cvtColor(picture, lab, cv::COLOR_BGR2Lab);
    cv::inRange(lab, lo, hi, mask);
    const int n = cv::connectedComponentsWithStats(mask, labels, stats, centroids, 8, CV_32S);
    int best = 1;
    for (int i = 2; i < n; ++i)
        if (stats.at<int>(i, cv::CC_STAT_AREA) > stats.at<int>(best, cv::CC_STAT_AREA)) best = i;
    for (int y = 0; y < labels.rows; ++y)
        for (int x = 0; x < labels.cols; ++x)
            if (labels.at<int>(y, x) == best) return {x, y};
    return {-1, -1};
}

TEST(ExtractionBound, TheWholePassFindsTheWalksTrace) {
    const ExtractionCancel never;
    int compared = 0;
    for (const int gap : {1, 2, 8, 30, 100}) {
        // Thick dust across long gaps: the walk alone would take seconds.
        for (const double dust : {0.0, 0.01, 0.05, gap <= 8 ? 0.3 : 0.1}) {
            SCOPED_TRACE("gap " + std::to_string(gap) + " dust " + std::to_string(dust));
            const cv::Mat picture = dashedChart(gap, dust, uint64_t(gap * 100 + dust * 1000));
            cv::Mat redLab;
            cv::cvtColor(cv::Mat(1, 1, CV_8UC3, cv::Scalar(0, 0, 255)), redLab, cv::COLOR_BGR2Lab);
            const cv::Vec3b c = redLab.at<cv::Vec3b>(0, 0);
            const cv::Scalar lo(c[0] - 30, c[1] - 30, c[2] - 30),
                hi(c[0] + 30, c[1] + 30, c[2] + 30);
            const cv::Point seed = largestPiece(picture, lo, hi);
            ASSERT_GE(seed.x, 0);
            Trace traces[2];
            const TraceWay ways[2] = {TraceWay::Walk, TraceWay::Whole};
            for (int i = 0; i < 2; ++i) {
                WorkMeter work(never);
                LazyMask mask(picture, lo, hi, work);
                traces[i] = extraction::traceCurve(mask, seed, gap, work, ways[i]);
            }
            ASSERT_EQ(traces[0].end, traces[1].end);
            if (traces[0].end != TraceEnd::Done) continue;  // both stopped as too large
            EXPECT_EQ(traces[0].pixels, traces[1].pixels);
            EXPECT_EQ(traces[0].columns, traces[1].columns);
            int differ = 0;
            for (int y = 0; y < picture.rows; ++y)
                for (int x = 0; x < picture.cols; ++x)
                    differ += traces[0].on(x, y) != traces[1].on(x, y);
            EXPECT_EQ(differ, 0);
            ++compared;
        }
    }
    EXPECT_EQ(compared, 20);
}

TEST(ExtractionBound, ACancelStopsTheExtractionAndSaysSo) {
    const cv::Mat picture = noise(1000, false, 5);
    const IntRect axis{0, 0, 999, 999};
    const ExtractionSettings settings{40, 128, 100};
    const ExtractionResult whole = extractCurve(picture, axis, {500, 500}, settings);
    int asked = 0;
    const ExtractionResult r =
        extractCurve(picture, axis, {500, 500}, settings, [&asked] { return ++asked == 3; });
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.cancelled);
    EXPECT_TRUE(r.points.empty());
    EXPECT_EQ(r.error, "曲線の自動抽出を中止しました。");
    EXPECT_EQ(asked, 3);  // not asked again once it said stop
    EXPECT_LT(r.work * 10, whole.work);

    // A hook that never stops changes nothing, and is asked all along.
    cv::Mat chart(400, 600, CV_8UC3, cv::Scalar(255, 255, 255));
    cv::line(chart, {10, 350}, {590, 40}, cv::Scalar(200, 60, 20), 3);
    asked = 0;
    const ExtractionResult plain = extractCurve(chart, {0, 0, 599, 399}, {300, 195}, {});
    const ExtractionResult heard =
        extractCurve(chart, {0, 0, 599, 399}, {300, 195}, {}, [&asked] { return ++asked < 0; });
    ASSERT_TRUE(plain.ok) << plain.error;
    ASSERT_TRUE(heard.ok) << heard.error;
    EXPECT_EQ(heard.points, plain.points);
    EXPECT_FALSE(heard.cancelled);
    EXPECT_GE(asked, int(heard.work / (1 << 16)));
}

}  // namespace
}  // namespace qf
