// A function-sum fit as the user meets it: 128 points, six formulas of the
// kinds people write (a constant, powers, sin, exp, log), with the default 50
// generated points and with 100,000 (the most a project may ask for). Each is
// timed as the fit alone, the batch's way (no Escape poll) and the window's
// way (its keyboard poll installed), and as the whole batch run of a project.
// The anchor is the same case with the built-in polynomial model (degree 5,
// also six coefficients): the same points, solver and generated points
// without the formula machine, so the ratio is the machine's share.
//
// The fits run first, before Qt's application object exists. Qt's image
// fill leaves the upper halves of the AVX registers in use, and until
// something clears them every call into the maths library costs some 30
// times as much (10 ns become 340 ns on the machine we measure on). The
// window's event loop clears them before a command runs, and the batch mode
// before it fits, so a fit measured after them would show a cost that no
// user meets. Hence also no random interleaving here.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "fit/fit_driver.h"
#include "project/batch.h"
#include "view/escape_poll.h"

namespace {

namespace fs = std::filesystem;
using qf::bench::fastest;
using qf::bench::MinReporter;

constexpr int kPoints = 128;
using Formulas = std::array<std::string, 6>;
const Formulas kFormulas = {"1", "x", "x ** 2", "sin(x)", "exp(-x)", "log(x + 1)"};
// The default formulas: nothing but products, the machine's own work at its
// largest beside the maths library's.
const Formulas kPowers = {"1", "x", "x * x", "x * x * x", "x * x * x * x", "x * x * x * x * x"};

// The sample chart's axis rectangle and ranges.
constexpr qf::IntRect kAxisRect = {140, 120, 1040, 760};
constexpr double kXMax = 10.0;
constexpr double kYMax = 250.0;

// A smooth curve across the axis rectangle, as a user would click it.
std::vector<qf::SourcePoint> clickedPoints() {
    std::vector<qf::SourcePoint> points;
    const int width = kAxisRect.right - kAxisRect.left;
    const int height = kAxisRect.bottom - kAxisRect.top;
    for (int i = 0; i < kPoints; ++i) {
        const double t = static_cast<double>(i) / (kPoints - 1);
        const double y = 0.5 + 0.3 * std::sin(6.0 * t) * std::exp(-t) + 0.1 * std::log(1 + 9 * t);
        points.push_back({static_cast<int32_t>(std::lround(kAxisRect.left + t * width)),
                          static_cast<int32_t>(std::lround(kAxisRect.bottom - y * height))});
    }
    return points;
}

struct FitCase {
    std::vector<qf::SourcePoint> points = clickedPoints();
    qf::FitInput in;
    FitCase(qf::ModelKind kind, const Formulas& formulas, int graphPoints) {
        in.axis.xMax = kXMax;
        in.axis.yMax = kYMax;
        in.axis.axisRect = kAxisRect;
        in.points = points.data();
        in.pointCount = kPoints;
        in.imagePresent = true;
        in.settings.modelKind = kind;
        in.settings.degree = 5;
        in.settings.basisExpr = formulas;
        in.settings.graphPointCount = graphPoints;
    }
};

bool g_failed = false;

void fitLoop(benchmark::State& state, qf::ModelKind kind, const Formulas& formulas, bool polled) {
    const FitCase fc(kind, formulas, static_cast<int>(state.range(0)));
    auto work = std::make_unique<qf::SvdFitWork>();
    qf::FitResult result;
    qf::GeneratedGraph graph;
    qf::KeyboardEscapePoll poll;
    if (polled) qf::setEscapePoll(&poll);
    for (auto _ : state) {
        if (qf::runFit(fc.in, *work, result, graph).status != qf::FitOk) g_failed = true;
        benchmark::DoNotOptimize(graph.generatedY.data());
    }
    qf::setEscapePoll(nullptr);
}

void BM_fitPolynomial(benchmark::State& state) {
    fitLoop(state, qf::Polynomial, kFormulas, false);
}
void BM_fitFormulas(benchmark::State& state) {
    fitLoop(state, qf::FunctionSum, kFormulas, false);
}
void BM_fitFormulasPolled(benchmark::State& state) {
    fitLoop(state, qf::FunctionSum, kFormulas, true);
}
void BM_fitPowers(benchmark::State& state) {
    fitLoop(state, qf::FunctionSum, kPowers, false);
}

QTemporaryDir& workDir() {
    static QTemporaryDir dir;
    return dir;
}

// The sample project with the clicked points and the fit of this case.
std::string projectFile(const char* model, int graphPoints) {
    const fs::path samples = fs::path(QF_SOURCE_DIR) / "samples";
    std::ifstream in(samples / "chart.quillfen.json", std::ios::binary);
    const std::string sample{std::istreambuf_iterator<char>(in), {}};
    std::string points;
    for (const qf::SourcePoint& p : clickedPoints())
        points += (points.empty() ? "" : ", ") +
                  ("[" + std::to_string(p.h) + ", " + std::to_string(p.v) + "]");
    std::string functions;
    for (const std::string& f : kFormulas)
        functions += (functions.empty() ? "\"" : ", \"") + f + "\"";
    // Everything from "points" to the end of "fit" is this case's own.
    const std::size_t from = sample.find("\"points\"");
    const std::size_t to = sample.find("},", sample.find("\"fit\"")) + 2;
    std::string text = sample.substr(0, from) + "\"points\": [" + points + "],\n" +
                       "\"fit\": {\"model\": \"" + model + "\", \"degree\": 5, \"functions\": [" +
                       functions + "], \"graphPointCount\": " + std::to_string(graphPoints) +
                       "},\n" + sample.substr(to);
    const std::string image = "\"image\": \"chart.jpg\"";
    text.replace(text.find(image), image.size(),
                 "\"image\": \"" + (samples / "chart.jpg").string() + "\"");
    const fs::path path = fs::path(workDir().path().toStdString()) /
                          (std::string(model) + std::to_string(graphPoints) + ".quillfen.json");
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

// Made for the first batch run, after the fits: see the top.
void needApplication() {
    static int argc = 1;
    static char name[] = "bench_fit";
    static char* argv[] = {name, nullptr};
    static const auto app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }();
}

void batchLoop(benchmark::State& state, const char* model) {
    needApplication();
    qf::BatchOptions o;
    o.projectPath = projectFile(model, static_cast<int>(state.range(0)));
    o.outDir = (fs::path(workDir().path().toStdString()) / "out").string();
    for (auto _ : state) {
        const qf::ProjectRun run = qf::runProject(o);
        if (run.status != qf::BatchOk) {
            std::fprintf(stderr, "%s", run.errors.c_str());
            g_failed = true;
        }
    }
}

void BM_batchPolynomial(benchmark::State& state) {
    batchLoop(state, "polynomial");
}
void BM_batchFormulas(benchmark::State& state) {
    batchLoop(state, "functionSum");
}

void fitCases(benchmark::internal::Benchmark* b) {
    b->ArgName("graphPoints")->Arg(50)->Arg(100000)->Unit(benchmark::kMicrosecond)->UseRealTime();
    b->Repetitions(9)->ComputeStatistics("min", fastest)->ReportAggregatesOnly(true);
}

void batchCases(benchmark::internal::Benchmark* b) {
    b->ArgName("graphPoints")->Arg(50)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
    b->Iterations(3)->Repetitions(7)->ComputeStatistics("min", fastest)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_fitPolynomial)->Apply(fitCases);
BENCHMARK(BM_fitFormulas)->Apply(fitCases);
BENCHMARK(BM_fitFormulasPolled)->Apply(fitCases);
BENCHMARK(BM_fitPowers)->Apply(fitCases);
BENCHMARK(BM_batchPolynomial)->Apply(batchCases);
BENCHMARK(BM_batchFormulas)->Apply(batchCases);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    MinReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    for (const int n : {50, 100000}) {
        const std::string arg = "/graphPoints:" + std::to_string(n) + "/";
        const double poly = reporter.time("BM_fitPolynomial" + arg);
        const double sum = reporter.time("BM_fitFormulas" + arg);
        const double polled = reporter.time("BM_fitFormulasPolled" + arg);
        const double powers = reporter.time("BM_fitPowers" + arg);
        const double batchPoly = reporter.time("BM_batchPolynomial" + arg);
        const double batchSum = reporter.time("BM_batchFormulas" + arg);
        std::printf(
            "%d generated points: fit %.0f us (window's way %.0f us, default formulas "
            "%.0f us, polynomial %.0f us), batch run %.1f ms (polynomial %.1f ms)\n",
            n, sum, polled, powers, poly, batchSum, batchPoly);
        std::printf("fit formulas/polynomial, %d points: %.2f\n", n, sum / poly);
        std::printf("fit formulas with window's poll/polynomial, %d points: %.2f\n", n,
                    polled / poly);
        std::printf("fit default formulas/polynomial, %d points: %.2f\n", n, powers / poly);
        std::printf("batch formulas/polynomial, %d points: %.2f\n", n, batchSum / batchPoly);
    }
    if (g_failed) std::printf("A FIT OR BATCH RUN FAILED\n");
    return g_failed ? 1 : 0;
}
