// The automatic mode on an 800 x 600 chart with two series, on one core:
// reading the picture by itself (frame, axes, tick labels, every series),
// and the whole command (that, the project and the batch mode's files),
// with the share text recognition takes. The anchor is OpenCV decoding the
// same PNG, the step every reading starts with. The first reading of a
// process also loads the Tesseract module and its English data.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <sstream>
#include <string>

#include "bench_support.h"
#include "project/auto_chart.h"
#include "project/auto_set.h"
#include "reading/ocr_engine.h"

namespace {

using qf::bench::MinReporter;

const std::string kChart = std::string(QF_SOURCE_DIR) + "/bench/data/two_series_800x600.png";

double ocrSeconds = 0, readSeconds = 0;

void BM_autoRead(benchmark::State& state) {
    double ocr = 0, total = 0;
    int64_t runs = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const qf::AutoChart a = qf::readChart(kChart, {});
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        ocr += a.ocrSeconds;
        ++runs;
        if (!a.ok || a.record.series.size() != 2)
            state.SkipWithError("the chart was not read into two series");
        benchmark::DoNotOptimize(a.record.axis.xMin);
    }
    ocrSeconds = runs ? ocr / double(runs) : 0;
    readSeconds = runs ? total / double(runs) : 0;
    state.counters["ocr_share"] = total > 0 ? ocr / total : 0;
}
BENCHMARK(BM_autoRead)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("min", qf::bench::fastest);

void BM_autoCommand(benchmark::State& state) {
    QTemporaryDir out;
    qf::AutoSetOptions options;
    options.pictures = {kChart};
    options.outDir = out.path().toStdString();
    options.jobs = 1;
    for (auto _ : state) {
        std::ostringstream report, errors;
        if (qf::runAutoSet(options, report, errors) != 0) state.SkipWithError(errors.str().c_str());
        benchmark::DoNotOptimize(report.str().size());
    }
}
BENCHMARK(BM_autoCommand)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("min", qf::bench::fastest);

void BM_opencvDecodePng(benchmark::State& state) {
    for (auto _ : state) {
        const cv::Mat m = cv::imread(kChart, cv::IMREAD_COLOR);
        benchmark::DoNotOptimize(m.data);
    }
}
BENCHMARK(BM_opencvDecodePng)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("min", qf::bench::fastest);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // the graph's fonts
    const cv::Mat chart = cv::imread(kChart, cv::IMREAD_COLOR);
    if (chart.cols != 800 || chart.rows != 600) {
        std::fprintf(stderr, "%s: not an 800 x 600 chart\n", kChart.c_str());
        return 1;
    }
    std::string why;
    const auto t0 = std::chrono::steady_clock::now();
    if (!qf::ocrAvailable(&why)) {
        std::printf("text recognition is not available (%s): nothing to measure\n", why.c_str());
        return 0;
    }
    const double load =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    // The target is for one core.
    cv::setNumThreads(1);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    MinReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double read = reporter.time("BM_autoRead");
    const double command = reporter.time("BM_autoCommand");
    const double decode = reporter.time("BM_opencvDecodePng");
    std::printf("loading the Tesseract module and its English data: %.0f ms (once per process)\n",
                1e3 * load);
    std::printf(
        "--auto 800x600, two series, one core: %.0f ms (target 1000 ms), of which text "
        "recognition %.0f %%; reading alone %.0f ms (text recognition %.0f %%)\n",
        command, 100 * 1e3 * ocrSeconds / command, read,
        readSeconds > 0 ? 100 * ocrSeconds / readSeconds : 0.0);
    std::printf("--auto/OpenCV decode PNG time ratio: %.0f\n", command / decode);
    return 0;
}
