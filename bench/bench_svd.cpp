// The SVD least-squares solver against LAPACK's dgelsd on the same weighted
// problem (128 points, 21 coefficients), and the whole fit beside them.
// Prints svdFit time / dgelsd time at the end.

#include <benchmark/benchmark.h>
#include <lapacke.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "fit/fit_driver.h"
#include "fit/models.h"
#include "fit/svd.h"

namespace {

constexpr int kPoints = 128;
constexpr int kCoefs = 21;
constexpr double kCutoff = 1e-6;

// A digitised curve: abscissae spread over [-1, 1] (already normalised),
// a smooth shape with a little reading noise, uniform sigma as the fit uses.
struct Problem {
    std::vector<double> x, y;
    double sigma = 2.0 / 500.0;
    Problem() {
        std::mt19937_64 rng(7);
        std::normal_distribution<double> noise(0.0, 0.003);
        for (int i = 0; i < kPoints; ++i) {
            const double t = -1.0 + 2.0 * i / (kPoints - 1);
            x.push_back(t);
            y.push_back(0.6 * std::sin(3.0 * t) + 0.3 * t * t - 0.1 + noise(rng));
        }
    }
};

const Problem& problem() {
    static const Problem p;
    return p;
}

std::unique_ptr<qf::SvdFitWork> loadedWork() {
    auto work = std::make_unique<qf::SvdFitWork>();
    const Problem& p = problem();
    for (int i = 1; i <= kPoints; ++i) {
        work->xData[i] = p.x[i - 1];
        work->yData[i] = p.y[i - 1];
        work->sigma[i] = p.sigma;
    }
    return work;
}

void BM_svdFit(benchmark::State& state) {
    auto work = loadedWork();
    for (auto _ : state) {
        qf::svdFit(*work, kPoints, kCoefs, qf::polynomialBasis);
        benchmark::DoNotOptimize(work->coef.data());
        benchmark::ClobberMemory();
    }
}

// dgelsd on A = phi / sigma, b = y / sigma (column-major), workspace sized once.
struct Gelsd {
    std::vector<double> a, b, s, work;
    std::vector<lapack_int> iwork;
    lapack_int rank = 0;

    Gelsd() : a(kPoints * kCoefs), b(kPoints), s(kCoefs) {
        double lworkOpt = 0.0;
        lapack_int liworkOpt = 0;
        LAPACKE_dgelsd_work(LAPACK_COL_MAJOR, kPoints, kCoefs, 1, a.data(), kPoints, b.data(),
                            kPoints, s.data(), kCutoff, &rank, &lworkOpt, -1, &liworkOpt);
        work.resize(static_cast<std::size_t>(lworkOpt));
        iwork.resize(static_cast<std::size_t>(std::max<lapack_int>(liworkOpt, 1)));
    }

    // Builds the weighted system and solves it; the coefficients are b[0..20].
    lapack_int solve() {
        const Problem& p = problem();
        double phi[kCoefs + 1];
        for (int i = 0; i < kPoints; ++i) {
            qf::polynomialBasis(p.x[i], phi, kCoefs);
            const double t = 1.0 / p.sigma;
            for (int k = 0; k < kCoefs; ++k) a[k * kPoints + i] = t * phi[k + 1];
            b[i] = t * p.y[i];
        }
        return LAPACKE_dgelsd_work(LAPACK_COL_MAJOR, kPoints, kCoefs, 1, a.data(), kPoints,
                                   b.data(), kPoints, s.data(), kCutoff, &rank, work.data(),
                                   static_cast<lapack_int>(work.size()), iwork.data());
    }
};

void BM_dgelsd(benchmark::State& state) {
    Gelsd g;
    for (auto _ : state) {
        benchmark::DoNotOptimize(g.solve());
        benchmark::ClobberMemory();
    }
}

// The whole fit from pixel positions: conversion, normalisation, solve and
// 50 generated points, as the fit command runs it.
struct FitCase {
    std::vector<qf::SourcePoint> points;
    qf::FitInput in;
    explicit FitCase(qf::ModelKind kind, int degree) {
        const Problem& p = problem();
        in.axis.xMin = -1.0;
        in.axis.xMax = 1.0;
        in.axis.yMin = -1.0;
        in.axis.yMax = 1.0;
        in.axis.axisRect = {100, 50, 740, 530};
        for (int i = 0; i < kPoints; ++i) {
            const double h = 100 + (p.x[i] + 1.0) / 2.0 * 640;
            const double v = 530 - (p.y[i] + 1.0) / 2.0 * 480;
            points.push_back(
                {static_cast<int32_t>(std::lround(h)), static_cast<int32_t>(std::lround(v))});
        }
        in.points = points.data();
        in.pointCount = kPoints;
        in.imagePresent = true;
        in.settings.modelKind = kind;
        in.settings.degree = degree;
    }
};

void runFitLoop(benchmark::State& state, const FitCase& fc) {
    auto work = std::make_unique<qf::SvdFitWork>();
    qf::FitResult result;
    qf::GeneratedGraph graph;
    const qf::FitOutcome first = qf::runFit(fc.in, *work, result, graph);
    if (first.status != qf::FitOk) {
        state.SkipWithError(("runFit status " + std::to_string(first.status)).c_str());
        return;
    }
    for (auto _ : state) {
        qf::FitOutcome out = qf::runFit(fc.in, *work, result, graph);
        benchmark::DoNotOptimize(out.status);
        benchmark::DoNotOptimize(graph.generatedY.data());
    }
}

void BM_runFit_polynomial20(benchmark::State& state) {
    runFitLoop(state, FitCase(qf::Polynomial, 20));
}

void BM_runFit_functionSum(benchmark::State& state) {
    runFitLoop(state, FitCase(qf::FunctionSum, 5));
}

// The fastest repetition is the least disturbed by other work on the machine.
double fastest(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

BENCHMARK(BM_svdFit)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_dgelsd)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_runFit_polynomial20)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_runFit_functionSum)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", fastest);

// Console output as usual, plus each benchmark's time for the closing ratio
// (the fastest repetition when repetitions are asked for).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.error_occurred) continue;
            const std::string& name = r.run_name.function_name;
            const bool isMin = r.run_type == Run::RT_Aggregate && r.aggregate_name == "min";
            if (isMin || (r.run_type == Run::RT_Iteration && !fromAggregate_.count(name))) {
                times_[name] = r.GetAdjustedRealTime();
                if (isMin) fromAggregate_[name] = true;
            }
        }
    }
    double time(const std::string& name) const {
        const auto it = times_.find(name);
        return it == times_.end() ? NAN : it->second;
    }

private:
    std::map<std::string, double> times_;
    std::map<std::string, bool> fromAggregate_;
};

// Both solvers must answer the same problem, or the ratio means nothing.
void printAgreement() {
    auto work = loadedWork();
    qf::svdFit(*work, kPoints, kCoefs, qf::polynomialBasis);
    Gelsd g;
    g.solve();
    const Problem& p = problem();
    double worst = 0.0;
    double phi[kCoefs + 1];
    for (int i = 0; i < kPoints; ++i) {
        qf::polynomialBasis(p.x[i], phi, kCoefs);
        double ours = 0.0, theirs = 0.0;
        for (int k = 1; k <= kCoefs; ++k) {
            ours += work->coef[k] * phi[k];
            theirs += g.b[k - 1] * phi[k];
        }
        worst = std::max(worst, std::fabs(ours - theirs));
    }
    int kept = 0;
    for (int k = 1; k <= kCoefs; ++k) kept += work->wValues[k] != 0.0;
    std::printf(
        "svdFit keeps %d of %d singular values, dgelsd rank %d; fitted curves differ by %.2g\n",
        kept, kCoefs, static_cast<int>(g.rank), worst);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    printAgreement();
    const double svd = reporter.time("BM_svdFit");
    const double gelsd = reporter.time("BM_dgelsd");
    const double poly = reporter.time("BM_runFit_polynomial20");
    const double sum = reporter.time("BM_runFit_functionSum");
    std::printf(
        "svdFit %.2f us, dgelsd %.2f us, runFit degree 20 %.2f us, runFit FunctionSum %.2f us\n",
        svd, gelsd, poly, sum);
    std::printf("svdFit/dgelsd time ratio: %.2f\n", svd / gelsd);
    std::printf("runFit degree 20/dgelsd time ratio: %.2f\n", poly / gelsd);
    return 0;
}
