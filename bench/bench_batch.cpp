// The batch mode at scale: 100 copies of the sample project, run two at a
// time (-j 2) against one at a time. The anchor is the same program's serial
// run in the same process, so the ratio shows what running projects side by
// side gains on this machine. Each project is the whole replay: read the
// project and the picture, straighten, fit, draw the graph, encode and write
// the four files.
//
// One at a time is measured twice: with OpenCV's own threads (what a single
// project uses) and without (what each project of a -j run uses, since the
// projects themselves then fill the processors).

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <opencv2/core.hpp>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "project/batch_set.h"

namespace {

namespace fs = std::filesystem;
using qf::bench::fastest;
using qf::bench::MinReporter;

constexpr int kProjects = 100;

QTemporaryDir& workDir() {
    static QTemporaryDir dir;
    return dir;
}

// kProjects copies of the sample project, each naming the sample picture.
const std::vector<std::string>& projects() {
    static const std::vector<std::string> paths = [] {
        const fs::path samples = fs::path(QF_SOURCE_DIR) / "samples";
        std::ifstream in(samples / "chart.quillfen.json", std::ios::binary);
        std::string text{std::istreambuf_iterator<char>(in), {}};
        const std::string entry = "\"image\": \"chart.jpg\"";
        text.replace(text.find(entry), entry.size(),
                     "\"image\": \"" + (samples / "chart.jpg").string() + "\"");
        std::vector<std::string> out;
        for (int i = 0; i < kProjects; ++i) {
            const fs::path p =
                fs::path(workDir().path().toStdString()) / ("p" + std::to_string(i) + ".quillfen.json");
            std::ofstream(p, std::ios::binary) << text;
            out.push_back(p.string());
        }
        return out;
    }();
    return paths;
}

bool g_failed = false;

void runAll(int jobs) {
    qf::BatchSetOptions o;
    o.projects = projects();
    o.outDir = (fs::path(workDir().path().toStdString()) / "out").string();
    o.jobs = jobs;
    o.json = true;
    std::ostringstream out, err;
    if (qf::runBatchSet(o, out, err) != 0) g_failed = true;
}

// jobs 1 and 2; openCvThreads: whether OpenCV keeps its own threads.
void BM_batch100(benchmark::State& state) {
    const int jobs = static_cast<int>(state.range(0));
    const bool openCvThreads = state.range(1) != 0;
    const int saved = cv::getNumThreads();
    if (!openCvThreads) cv::setNumThreads(1);
    for (auto _ : state) runAll(jobs);
    cv::setNumThreads(saved);
    state.counters["projects/s"] =
        benchmark::Counter(kProjects, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_batch100)
    ->ArgNames({"jobs", "openCvThreads"})
    ->Args({1, 1})
    ->Args({1, 0})
    ->Args({2, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->ComputeStatistics("min", fastest);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    projects();
    MinReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double serial = reporter.time("BM_batch100/jobs:1/openCvThreads:1");
    const double serialPlain = reporter.time("BM_batch100/jobs:1/openCvThreads:0");
    const double two = reporter.time("BM_batch100/jobs:2/openCvThreads:1");
    std::printf("%d projects: one at a time %.0f ms (OpenCV threads: %d), without OpenCV threads "
                "%.0f ms; -j 2 %.0f ms on %u processors%s\n",
                kProjects, serial, cv::getNumThreads(), serialPlain, two,
                std::thread::hardware_concurrency(), g_failed ? "; A RUN FAILED" : "");
    std::printf("batch one at a time/-j 2 speed-up ratio: %.2f\n", serial / two);
    std::printf("batch one at a time without OpenCV threads/-j 2 speed-up ratio: %.2f\n",
                serialPlain / two);
    return g_failed ? 1 : 0;
}
