// Reading the axes of an 800 x 600 chart (frame, ticks, tick labels,
// scales) against decoding the chart's PNG, the step every reading follows;
// and what share of the reading text recognition takes. The first reading
// of a process also loads the Tesseract module and its English data.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bench_support.h"
#include "imaging/image_file.h"
#include "reading/axis_reading.h"
#include "reading/ocr_engine.h"

namespace {

using qf::bench::MinReporter;

const std::string kChart = std::string(QF_SOURCE_DIR) + "/tests/data/reading/mpl_800x600.png";

const cv::Mat& chart() {
    static const cv::Mat m = qf::readImageFile(kChart);
    return m;
}

double ocrShare = 0;

void BM_readAxes(benchmark::State& state) {
    double ocr = 0, total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const qf::AxisReading r = qf::readAxes(chart());
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        ocr += r.ocrSeconds;
        if (!r.ok()) state.SkipWithError("the chart's axes were not read");
        benchmark::DoNotOptimize(r.axis.xMin);
    }
    ocrShare = total > 0 ? ocr / total : 0;
    state.counters["ocr_share"] = ocrShare;
}
BENCHMARK(BM_readAxes)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("min", qf::bench::fastest);

void BM_decodeChartPng(benchmark::State& state) {
    for (auto _ : state) {
        const cv::Mat m = qf::readImageFile(kChart);
        benchmark::DoNotOptimize(m.data);
    }
}
BENCHMARK(BM_decodeChartPng)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("min", qf::bench::fastest);

}  // namespace

int main(int argc, char** argv) {
    if (chart().empty() || chart().cols != 800 || chart().rows != 600) {
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
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    MinReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double reading = reporter.time("BM_readAxes");
    const double decode = reporter.time("BM_decodeChartPng");
    std::printf("loading the Tesseract module and its English data: %.0f ms (once per process)\n",
                1e3 * load);
    std::printf(
        "readAxes 800x600 %.1f ms, of which text recognition %.0f %%; decoding its PNG %.2f ms\n",
        reading, 100 * ocrShare, decode);
    std::printf("readAxes/decode PNG time ratio: %.1f\n", reading / decode);
    return 0;
}
