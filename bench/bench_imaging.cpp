// The mapping of a 4000 x 3000 photo, by each method, against OpenCV's
// warpPerspective (same corners onto the same rectangle, nearest neighbour
// and interpolated) and against a plain copy of the image buffer (the
// memory-bandwidth floor); the perspective method also against the bilinear;
// the processing of a 1280 x 720 camera frame against the 66 ms camera tick;
// the curve extraction against a colour threshold, and its worst case (noise
// at the largest settings) per megapixel and against the everyday click;
// finding every series of a three-curve chart against a colour threshold.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <string>
#include <utility>
#include <vector>

#include "bench_support.h"
#include "imaging/curve_extraction.h"
#include "imaging/mapping.h"
#include "imaging/processing.h"
#include "imaging/series_finder.h"
#include "mapping_reference.h"

namespace {

using qf::bench::fastest;
using qf::bench::MinReporter;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr double kCameraTickMs = 66.0;

// A photographed chart: paper shading, grid lines and some sensor noise.
cv::Mat photo(int w, int h) {
    cv::Mat m(h, w, CV_8UC3);
    for (int y = 0; y < h; ++y) {
        auto* row = m.ptr<cv::Vec3b>(y);
        for (int x = 0; x < w; ++x) {
            const int shade = 200 + (x + y) * 40 / (w + h);
            const bool grid = x % 97 < 2 || y % 89 < 2;
            const uint8_t v = uint8_t(grid ? 60 : shade);
            row[x] = cv::Vec3b(v, uint8_t(v - 5), uint8_t(v - 10));
        }
    }
    cv::Mat noise(h, w, CV_8UC3);
    cv::theRNG().state = 3;
    cv::randu(noise, cv::Scalar::all(0), cv::Scalar::all(12));
    return m + noise;
}

const cv::Mat& input() {
    static const cv::Mat m = photo(kWidth, kHeight);
    return m;
}

// The plot area photographed at an angle, onto a large graph rectangle.
qf::MappingGeometry skewedQuad() {
    qf::MappingGeometry q;
    q.corners = {{{430, 380}, {3560, 210}, {3720, 2790}, {290, 2610}}};
    q.graphRect = {250, 190, 3750, 2810};
    return q;
}

// Argument: 1 limits OpenCV's thread pool to the calling thread.
void mapWith(qf::MappingGeometry quad, benchmark::State& state) {
    qf::ImagePair images{input(), input().clone()};
    const int threads = cv::getNumThreads();
    if (state.range(0) == 1) cv::setNumThreads(1);
    for (auto _ : state) {
        qf::runMapping(images, qf::CurrentImage::Input, quad);
        benchmark::DoNotOptimize(images.outputImage.data);
        benchmark::ClobberMemory();
    }
    cv::setNumThreads(threads);
}

void BM_runMapping(benchmark::State& state) {
    mapWith(skewedQuad(), state);
}

void BM_runMappingPerspective(benchmark::State& state) {
    qf::MappingGeometry quad = skewedQuad();
    quad.method = qf::MappingMethod::Perspective;
    mapWith(quad, state);
}

void BM_runMappingInterpolated(benchmark::State& state) {
    qf::MappingGeometry quad = skewedQuad();
    quad.method = qf::MappingMethod::Perspective;
    quad.sampling = qf::MappingSampling::Interpolated;
    mapWith(quad, state);
}

// The same result region by OpenCV: white outside the rectangle, the
// homography of the four corners sampled nearest inside it.
struct Warp {
    cv::Mat out = cv::Mat(kHeight, kWidth, CV_8UC3);
    cv::Mat matrix;
    cv::Rect rect;
    Warp() {
        const qf::MappingGeometry q = skewedQuad();
        const qf::IntRect& r = q.graphRect;
        rect = cv::Rect(r.left, r.top, r.width(), r.height());
        std::vector<cv::Point2f> from, to{{0.f, 0.f},
                                          {float(rect.width), 0.f},
                                          {float(rect.width), float(rect.height)},
                                          {0.f, float(rect.height)}};
        for (const qf::IntPoint& p : q.corners) from.emplace_back(float(p.x), float(p.y));
        matrix = cv::getPerspectiveTransform(from, to);
    }
    void run(int interpolation) {
        const cv::Scalar white = cv::Scalar::all(255);
        out.rowRange(0, rect.y).setTo(white);
        out.rowRange(rect.y + rect.height, kHeight).setTo(white);
        out(cv::Rect(0, rect.y, rect.x, rect.height)).setTo(white);
        const int right = rect.x + rect.width;
        out(cv::Rect(right, rect.y, kWidth - right, rect.height)).setTo(white);
        cv::Mat roi = out(rect);
        cv::warpPerspective(input(), roi, matrix, rect.size(), interpolation, cv::BORDER_CONSTANT,
                            white);
    }
};

void BM_warpPerspective(benchmark::State& state) {
    Warp w;
    const int threads = cv::getNumThreads();
    if (state.range(0) == 1) cv::setNumThreads(1);
    for (auto _ : state) {
        w.run(cv::INTER_NEAREST);
        benchmark::DoNotOptimize(w.out.data);
        benchmark::ClobberMemory();
    }
    cv::setNumThreads(threads);
}

void BM_warpPerspectiveLinear(benchmark::State& state) {
    Warp w;
    for (auto _ : state) {
        w.run(cv::INTER_LINEAR);
        benchmark::DoNotOptimize(w.out.data);
        benchmark::ClobberMemory();
    }
}

// A 4000 x 3000 axis rectangle on a photographed-looking chart with a blue
// curve across it; the click lands on the curve.
struct ExtractionScene {
    cv::Mat picture;
    qf::IntRect axis{100, 100, 4099, 3099};
    qf::IntPoint seed;
    ExtractionScene() {
        picture = photo(4200, 3200);
        std::vector<cv::Point> curve;
        for (int x = 100; x <= 4099; x += 4) {
            const double t = (x - 100) / 4000.0;
            curve.emplace_back(x, int(3000 - 2600 * (0.1 + 0.5 * t + 0.3 * t * t * t)));
        }
        cv::polylines(picture, curve, false, cv::Scalar(190, 70, 30), 4, cv::LINE_AA);
        seed = {curve[500].x, curve[500].y};
    }
};

const ExtractionScene& extractionScene() {
    static const ExtractionScene scene;
    return scene;
}

void BM_extractCurve(benchmark::State& state) {
    const ExtractionScene& e = extractionScene();
    for (auto _ : state) {
        const qf::ExtractionResult r = qf::extractCurve(e.picture, e.axis, e.seed, {});
        if (!r.ok) state.SkipWithError(r.error.c_str());
        benchmark::DoNotOptimize(r.points.data());
    }
}

// The same curve with the longest gap bridged: the walk hands over to the
// pass over the whole rectangle.
void BM_extractCurveGap100(benchmark::State& state) {
    const ExtractionScene& e = extractionScene();
    for (auto _ : state) {
        const qf::ExtractionResult r =
            qf::extractCurve(e.picture, e.axis, e.seed, {.gap = qf::kMaxExtractionGap});
        if (!r.ok) state.SkipWithError(r.error.c_str());
        benchmark::DoNotOptimize(r.points.data());
    }
}

// The worst case: a click on noise (every pixel black or white) with the
// most points and the longest gap. It is refused as no curve; what counts
// is the time it takes to say so.
cv::Mat blackAndWhite(int w, int h) {
    cv::Mat grey(h, w, CV_8U);
    cv::theRNG().state = 5;
    cv::randu(grey, cv::Scalar(0), cv::Scalar(256));
    cv::threshold(grey, grey, 127, 255, cv::THRESH_BINARY);
    cv::Mat bgr;
    cv::cvtColor(grey, bgr, cv::COLOR_GRAY2BGR);
    return bgr;
}

void BM_extractNoise(benchmark::State& state) {
    const int w = int(state.range(0)), h = int(state.range(1));
    const cv::Mat picture = blackAndWhite(w, h);
    const qf::ExtractionSettings worst{.count = qf::kMaxExtractionCount,
                                       .gap = qf::kMaxExtractionGap};
    for (auto _ : state) {
        const qf::ExtractionResult r =
            qf::extractCurve(picture, {0, 0, w - 1, h - 1}, {w / 2, h / 2}, worst);
        if (r.ok) state.SkipWithError("noise taken for a curve");
        benchmark::DoNotOptimize(r.work);
    }
}

// A 4000 x 3000 axis rectangle of a plotted chart: a black frame, a grey
// grid, three curves in plotting colours and a legend with their line
// samples and names.
struct ThreeCurves {
    cv::Mat picture = cv::Mat(3200, 4200, CV_8UC3, cv::Scalar(255, 255, 255));
    qf::IntRect axis{100, 100, 4099, 3099};
    ThreeCurves() {
        for (int k = 1; k < 10; ++k) {
            cv::line(picture, {100 + 400 * k, 100}, {100 + 400 * k, 3099},
                     cv::Scalar(176, 176, 176), 4);
            cv::line(picture, {100, 100 + 300 * k}, {4099, 100 + 300 * k},
                     cv::Scalar(176, 176, 176), 4);
        }
        const cv::Scalar colours[3] = {{180, 119, 31}, {14, 127, 255}, {44, 160, 44}};
        for (int c = 0; c < 3; ++c) {
            std::vector<cv::Point> curve;
            for (int x = 100; x <= 4099; x += 4) {
                const double t = (x - 100) / 4000.0;
                const double y = c == 0   ? 0.5 + 0.3 * std::sin(9 * t)
                                 : c == 1 ? 0.9 * std::exp(-3.5 * t) + 0.05
                                          : 0.8 * std::exp(-(t - 0.6) * (t - 0.6) / 0.06);
                curve.emplace_back(x, int(3099 - 3000 * y));
            }
            cv::polylines(picture, curve, false, colours[c], 8, cv::LINE_AA);
            cv::line(picture, {3300, 250 + 120 * c}, {3500, 250 + 120 * c}, colours[c], 8,
                     cv::LINE_AA);
            cv::putText(picture,
                        c == 0   ? "wave"
                        : c == 1 ? "decay"
                                 : "hump",
                        {3550, 280 + 120 * c}, cv::FONT_HERSHEY_SIMPLEX, 3, cv::Scalar(0, 0, 0), 6,
                        cv::LINE_AA);
        }
        cv::rectangle(picture, {100, 100}, {4099, 3099}, cv::Scalar(0, 0, 0), 6);
    }
};

const ThreeCurves& threeCurves() {
    static const ThreeCurves chart;
    return chart;
}

void BM_extractEverySeries(benchmark::State& state) {
    const ThreeCurves& c = threeCurves();
    for (auto _ : state) {
        const std::vector<qf::FoundSeries> found = qf::extractEverySeries(c.picture, c.axis, {});
        if (found.size() != 3) state.SkipWithError("not the three curves");
        benchmark::DoNotOptimize(found.data());
    }
}

void BM_inRangeThreeCurves(benchmark::State& state) {
    const ThreeCurves& c = threeCurves();
    const cv::Mat roi = c.picture(cv::Rect(100, 100, 4000, 3000));
    cv::Mat mask;
    for (auto _ : state) {
        cv::inRange(roi, cv::Scalar(150, 90, 0), cv::Scalar(210, 150, 60), mask);
        benchmark::DoNotOptimize(mask.data);
    }
}

// The floor: one colour threshold over the same area.
void BM_inRange(benchmark::State& state) {
    const ExtractionScene& e = extractionScene();
    const cv::Mat roi = e.picture(cv::Rect(100, 100, 4000, 3000));
    cv::Mat mask;
    for (auto _ : state) {
        cv::inRange(roi, cv::Scalar(150, 30, 0), cv::Scalar(230, 110, 70), mask);
        benchmark::DoNotOptimize(mask.data);
    }
}

void BM_copy(benchmark::State& state) {
    cv::Mat out(kHeight, kWidth, CV_8UC3);
    for (auto _ : state) {
        input().copyTo(out);
        benchmark::DoNotOptimize(out.data);
        benchmark::ClobberMemory();
    }
}

void BM_runProcessing720p(benchmark::State& state) {
    cv::Mat frame;
    cv::resize(input(), frame, cv::Size(1280, 720), 0, 0, cv::INTER_AREA);
    qf::ImagePair images{frame, frame.clone()};
    for (auto _ : state) {
        qf::runProcessing(images, qf::CurrentImage::Input);
        benchmark::DoNotOptimize(images.outputImage.data);
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_runMapping)
    ->ArgName("singleThread")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", fastest);
BENCHMARK(BM_runMappingPerspective)
    ->ArgName("singleThread")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", fastest);
BENCHMARK(BM_runMappingInterpolated)
    ->ArgName("singleThread")
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", fastest);
BENCHMARK(BM_warpPerspectiveLinear)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", fastest);
BENCHMARK(BM_warpPerspective)
    ->ArgName("singleThread")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", fastest);
BENCHMARK(BM_extractCurve)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", fastest);
BENCHMARK(BM_extractCurveGap100)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", fastest);
BENCHMARK(BM_extractNoise)
    ->ArgNames({"w", "h"})
    ->Args({1000, 1000})
    ->Args({4000, 3000})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ComputeStatistics("min", fastest);
BENCHMARK(BM_extractEverySeries)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", fastest);
BENCHMARK(BM_inRangeThreeCurves)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", fastest);
BENCHMARK(BM_inRange)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", fastest);
BENCHMARK(BM_copy)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", fastest);
BENCHMARK(BM_runProcessing720p)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", fastest);

// The ratio only means something while the fast loop gives the plain loop's pixels.
bool matchesPlainLoop() {
    const qf::MappingGeometry quad = skewedQuad();
    qf::ImagePair images{input(), input().clone()};
    qf::runMapping(images, qf::CurrentImage::Input, quad);
    const cv::Mat want = qf::test::referenceMapping(input(), quad.corners, quad.graphRect);
    return cv::norm(images.outputImage, want, cv::NORM_INF) == 0.0;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    MinReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double mapping = reporter.time("BM_runMapping/singleThread:0");
    const double mapping1 = reporter.time("BM_runMapping/singleThread:1");
    const double warp = reporter.time("BM_warpPerspective/singleThread:0");
    const double warp1 = reporter.time("BM_warpPerspective/singleThread:1");
    const double copy = reporter.time("BM_copy");
    const double perspective = reporter.time("BM_runMappingPerspective/singleThread:0");
    const double perspective1 = reporter.time("BM_runMappingPerspective/singleThread:1");
    const double interpolated = reporter.time("BM_runMappingInterpolated/singleThread:0");
    const double warpLinear = reporter.time("BM_warpPerspectiveLinear");
    const double processing = reporter.time("BM_runProcessing720p");
    std::printf("runMapping equals the plain loop's pixels: %s\n",
                matchesPlainLoop() ? "yes" : "NO");
    std::printf(
        "runMapping %.2f ms (%d threads), %.2f ms (1 thread); warpPerspective %.2f ms, %.2f ms (1 "
        "thread); copy %.2f ms; runProcessing 1280x720 %.2f ms\n",
        mapping, cv::getNumThreads(), mapping1, warp, warp1, copy, processing);
    std::printf("runMapping/warpPerspective time ratio: %.2f\n", mapping / warp);
    std::printf("runMapping/warpPerspective single-thread time ratio: %.2f\n", mapping1 / warp1);
    std::printf("runMapping/copy time ratio: %.2f\n", mapping / copy);
    std::printf("runMapping single-thread/copy time ratio: %.2f\n", mapping1 / copy);
    std::printf(
        "perspective runMapping %.2f ms, %.2f ms (1 thread); interpolated %.2f ms; "
        "warpPerspective interpolated %.2f ms\n",
        perspective, perspective1, interpolated, warpLinear);
    std::printf("perspective runMapping/warpPerspective time ratio (target <= 1.0): %.2f\n",
                perspective / warp);
    std::printf("perspective runMapping/warpPerspective single-thread time ratio: %.2f\n",
                perspective1 / warp1);
    std::printf("perspective runMapping/bilinear runMapping time ratio (target <= 1.2): %.2f\n",
                perspective / mapping);
    std::printf(
        "interpolated perspective runMapping/interpolated warpPerspective time ratio: "
        "%.2f\n",
        interpolated / warpLinear);
    const double extraction = reporter.time("BM_extractCurve");
    const double inRange = reporter.time("BM_inRange");
    std::printf(
        "extractCurve in a 4000x3000 axis rectangle %.2f ms (target <= 50 ms); "
        "one inRange over it %.2f ms\n",
        extraction, inRange);
    std::printf("extractCurve/inRange time ratio: %.2f\n", extraction / inRange);
    const double gap100 = reporter.time("BM_extractCurveGap100");
    std::printf("extractCurve with the longest gap/extractCurve time ratio: %.2f\n",
                gap100 / extraction);
    // Worst case: seconds per megapixel, and against the everyday click.
    for (const auto& [w, h] : {std::pair{1000, 1000}, std::pair{4000, 3000}}) {
        const double noise =
            reporter.time("BM_extractNoise/w:" + std::to_string(w) + "/h:" + std::to_string(h));
        std::printf(
            "worst-case extractCurve %dx%d (noise, count 128, gap 100) %.1f ms: "
            "%.3f s per megapixel (target <= 1)\n",
            w, h, noise, noise / 1000 / (w * h / 1e6));
        std::printf("worst-case extractCurve %dx%d/extractCurve time ratio: %.2f\n", w, h,
                    noise / extraction);
    }
    const double every = reporter.time("BM_extractEverySeries");
    const double inRange3 = reporter.time("BM_inRangeThreeCurves");
    std::printf(
        "extractEverySeries of a 4000x3000 three-curve chart %.2f ms (target <= 150 ms); "
        "one inRange over it %.2f ms\n",
        every, inRange3);
    std::printf("extractEverySeries/inRange time ratio: %.2f\n", every / inRange3);
    std::printf("runProcessing 1280x720/66 ms camera tick ratio: %.3f\n",
                processing / kCameraTickMs);
    return 0;
}
