// Evaluation throughput of the formula engine on the six default basis
// formulas, against muparser evaluating the same formulas at the same x.
// One item = one evaluation of all six formulas.

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "expr/expr.h"

namespace {

const std::array<std::string, 6> kFormulas = {
    "1", "x", "x * x", "x * x * x", "x * x * x * x", "x * x * x * x * x"};

// A power of two, so that stepping through them costs a mask, not a division.
constexpr std::size_t kXCount = 256;

std::array<double, kXCount> abscissae() {
    std::array<double, kXCount> xs{};
    for (std::size_t i = 0; i < kXCount; ++i) {
        xs[i] = -2.0 + 4.0 * static_cast<double>(i) / (kXCount - 1);
    }
    return xs;
}

const std::array<double, kXCount> kXs = abscissae();

void compileDefault() {
    std::string text;
    for (const std::string& f : kFormulas) text += f + ";\r\n";
    qf::loadExprSource(text);
    qf::compileProgram();
    if (qf::exprContext().errorCount != 0) std::abort();
}

// What the window's poll costs at least: one read the compiler cannot hoist.
class FlagPoll : public qf::EscapePoll {
public:
    bool escapeRequested() override { return flag_ != 0; }

private:
    volatile int flag_ = 0;
};

struct Ours {
    double phi[7] = {};
    Ours() { compileDefault(); }
    void eval(double x) {
        qf::expressionBasis(x, phi, 6);
        benchmark::DoNotOptimize(phi);
    }
};

// One parser per formula, as a program that evaluates the formulas one by one
// would. muparser's optimizer folds x * x * x into power operations; with it
// off, muparser runs the same sequence of operations as our machine.
struct MuSeparate {
    double x = 0.0;
    double phi[7] = {};
    std::array<std::unique_ptr<mu::Parser>, 6> parsers;
    explicit MuSeparate(bool optimize = true) {
        for (std::size_t k = 0; k < parsers.size(); ++k) {
            parsers[k] = std::make_unique<mu::Parser>();
            parsers[k]->EnableOptimizer(optimize);
            parsers[k]->DefineVar("x", &x);
            parsers[k]->SetExpr(kFormulas[k]);
            parsers[k]->Eval();
        }
    }
    void eval(double v) {
        x = v;
        for (std::size_t k = 0; k < parsers.size(); ++k) phi[k + 1] = parsers[k]->Eval();
        benchmark::DoNotOptimize(phi);
    }
};

// All six as one comma-separated expression: one Eval yields six results.
struct MuMulti {
    double x = 0.0;
    double phi[7] = {};
    mu::Parser parser;
    explicit MuMulti(bool optimize = true) {
        std::string text;
        for (const std::string& f : kFormulas) text += (text.empty() ? "" : ", ") + f;
        parser.EnableOptimizer(optimize);
        parser.DefineVar("x", &x);
        parser.SetExpr(text);
        int n = 0;
        parser.Eval(n);
    }
    void eval(double v) {
        x = v;
        int n = 0;
        const double* r = parser.Eval(n);
        for (int k = 0; k < n && k < 6; ++k) phi[k + 1] = r[k];
        benchmark::DoNotOptimize(phi);
    }
};

template <class Engine>
void runBench(benchmark::State& state, Engine& engine) {
    std::size_t i = 0;
    for (auto _ : state) {
        engine.eval(kXs[i]);
        i = (i + 1) & (kXCount - 1);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_Expr(benchmark::State& state) {
    Ours ours;
    runBench(state, ours);
}

void BM_ExprWithEscapePoll(benchmark::State& state) {
    FlagPoll poll;
    qf::setEscapePoll(&poll);
    Ours ours;
    runBench(state, ours);
    qf::setEscapePoll(nullptr);
}

void BM_MuParserSeparate(benchmark::State& state) {
    MuSeparate mu(state.range(0) != 0);
    runBench(state, mu);
}

void BM_MuParserMulti(benchmark::State& state) {
    MuMulti mu(state.range(0) != 0);
    runBench(state, mu);
}

BENCHMARK(BM_Expr);
BENCHMARK(BM_ExprWithEscapePoll);
BENCHMARK(BM_MuParserSeparate)->ArgName("optimizer")->Arg(1)->Arg(0);
BENCHMARK(BM_MuParserMulti)->ArgName("optimizer")->Arg(1)->Arg(0);

// Evaluations per second in one window of about 20 ms.
template <class Engine>
double windowRate(Engine& engine) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto until = start + std::chrono::milliseconds(20);
    std::size_t n = 0;
    Clock::time_point now;
    do {
        for (int j = 0; j < 1024; ++j, ++n) engine.eval(kXs[n & (kXCount - 1)]);
        now = Clock::now();
    } while (now < until);
    return static_cast<double>(n) / std::chrono::duration<double>(now - start).count();
}

// The machine may be busy with other work: the windows of all engines are
// interleaved and each engine is judged by its best window.
struct Rates {
    double expr = 0, polled = 0, muSeparate = 0, muMulti = 0, muMultiPlain = 0;
};

Rates bestRates() {
    Ours ours;
    FlagPoll poll;
    MuSeparate separate;
    MuMulti multi;
    MuMulti multiPlain(false);
    Rates best;
    for (int round = 0; round < 25; ++round) {
        best.expr = std::max(best.expr, windowRate(ours));
        qf::setEscapePoll(&poll);
        best.polled = std::max(best.polled, windowRate(ours));
        qf::setEscapePoll(nullptr);
        best.muSeparate = std::max(best.muSeparate, windowRate(separate));
        best.muMulti = std::max(best.muMulti, windowRate(multi));
        best.muMultiPlain = std::max(best.muMultiPlain, windowRate(multiPlain));
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const Rates r = bestRates();
    std::printf("expr:                               %.3g evaluations/s\n", r.expr);
    std::printf("expr with escape poll:              %.3g evaluations/s\n", r.polled);
    std::printf("muparser, six parsers:              %.3g evaluations/s\n", r.muSeparate);
    std::printf("muparser, multi-expression:         %.3g evaluations/s\n", r.muMulti);
    std::printf("muparser, multi-expr, no optimizer: %.3g evaluations/s\n", r.muMultiPlain);
    std::printf(
        "expr/muparser throughput ratio: %.2f (six parsers), %.2f (multi-expression), "
        "%.2f (multi-expression, no optimizer)\n",
        r.expr / r.muSeparate, r.expr / r.muMulti, r.expr / r.muMultiPlain);
    std::printf("expr with escape poll/expr: %.2f\n", r.polled / r.expr);
    return 0;
}
