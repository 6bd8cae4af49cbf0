// libFuzzer target for the formula engine. The input is a program text for
// the compiler or, after a leading '#', raw machine code (13 bytes per
// instruction: opcode, operand, number), as hand-made programs reach the
// machine. Every program that may run is run for several x twice: on the
// prepared fast path (no Escape poll) and on the checked path (a poll that
// never stops). Both must leave the same state to the last bit; any
// difference, and any sanitizer report, is a finding.

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string_view>

#include "expr/expr.h"

namespace {

using qf::ExprContext;

class NeverStop : public qf::EscapePoll {
public:
    bool escapeRequested() override { return false; }
};

// The same to the last bit, but any NaN equals any NaN: which sign and
// payload a NaN result carries depends on the order of an operation's
// operands, which the fast path may swap, and nothing shows it (texts print
// every NaN as "NAN").
bool same(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

template <std::size_t N>
bool same(const std::array<double, N>& a, const std::array<double, N>& b) {
    for (std::size_t i = 0; i < N; ++i)
        if (!same(a[i], b[i])) return false;
    return true;
}

bool sameState(const ExprContext& a, const ExprContext& b) {
    return same(a.slots, b.slots) && same(a.stack, b.stack) &&
           a.stackTop == b.stackTop && a.pc == b.pc &&
           a.errorCount == b.errorCount && a.message.view() == b.message.view() &&
           a.runtime.view() == b.runtime.view();
}

void rawProgram(const uint8_t* data, std::size_t size, ExprContext& ctx) {
    ctx = ExprContext{};
    std::size_t n = 0;
    for (; size >= 13 && n < static_cast<std::size_t>(qf::kExprMaxCode); data += 13, size -= 13) {
        qf::ExprInstruction& in = ctx.program.code[n++];
        in.opcode = data[0] % 6;                       // 0 and 5 are unknown codes
        in.operand = static_cast<int8_t>(data[1]) % 24;  // beyond the slots and operators too
        std::memcpy(&in.number, data + 5, sizeof in.number);
    }
    ctx.program.count = static_cast<int32_t>(n);
}

// What differs, for the finding's report.
void printDifference(const ExprContext& fast, const ExprContext& checked, double x) {
    std::fprintf(stderr, "fast and checked paths differ at x = %g\n", x);
    for (int k = 0; k < qf::kExprSlots; ++k)
        if (!same(fast.slots[k], checked.slots[k]))
            std::fprintf(stderr, "  slot %d: %.17g / %.17g\n", k, fast.slots[k], checked.slots[k]);
    for (int i = 0; i < qf::kExprStackSize; ++i)
        if (!same(fast.stack[i], checked.stack[i]))
            std::fprintf(stderr, "  stack %d: %.17g / %.17g\n", i, fast.stack[i], checked.stack[i]);
    std::fprintf(stderr, "  top %d / %d, pc %d / %d, errors %d / %d\n", fast.stackTop,
                 checked.stackTop, fast.pc, checked.pc, fast.errorCount, checked.errorCount);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    ExprContext& ctx = qf::exprContext();
    if (size > 0 && data[0] == '#') {
        rawProgram(data + 1, size - 1, ctx);
    } else {
        ctx = ExprContext{};
        qf::loadExprSource({reinterpret_cast<const char*>(data), size});
        qf::compileProgram();
        // A program with compile errors is never run.
        if (ctx.errorCount != 0) return 0;
    }
    for (int k = 0; k < qf::kExprSlots; ++k) ctx.slots[k] = k + 0.5;

    static NeverStop never;
    const double xs[] = {0.0, 1.0, -2.5, 1e-300, 1e300, std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity()};
    for (const double x : xs) {
        ctx.slots[0] = x;
        const ExprContext before = ctx;
        qf::setEscapePoll(nullptr);
        qf::runProgram();
        const ExprContext fast = ctx;
        ctx = before;
        qf::setEscapePoll(&never);
        qf::runProgram();
        qf::setEscapePoll(nullptr);
        if (!sameState(fast, ctx)) {
            printDifference(fast, ctx, x);
            std::abort();
        }
    }
    return 0;
}
