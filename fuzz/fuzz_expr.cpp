// libFuzzer target for the formula engine. The input is a program text for
// the compiler or, after a leading '#', raw machine code (13 bytes per
// instruction: opcode, operand, number), as hand-made programs reach the
// machine. Every program that may run is run for several x twice: from a
// zeroed stack and from one an earlier, deeper program left full (a run
// clears only what lies above its own entries). Both must leave the same
// state to the last bit, and the stack top and the stop within their bounds;
// any difference, and any sanitizer report, is a finding.

#include <algorithm>
#include <array>
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

bool same(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

template <std::size_t N>
bool same(const std::array<double, N>& a, const std::array<double, N>& b) {
    for (std::size_t i = 0; i < N; ++i)
        if (!same(a[i], b[i])) return false;
    return true;
}

bool sameState(const ExprContext& a, const ExprContext& b) {
    return same(a.slots, b.slots) && same(a.stack, b.stack) && a.stackTop == b.stackTop &&
           a.pc == b.pc && a.errorCount == b.errorCount && a.message.view() == b.message.view() &&
           a.runtime.view() == b.runtime.view();
}

void rawProgram(const uint8_t* data, std::size_t size, ExprContext& ctx) {
    ctx = ExprContext{};
    std::size_t n = 0;
    for (; size >= 13 && n < static_cast<std::size_t>(qf::kExprMaxCode); data += 13, size -= 13) {
        qf::ExprInstruction& in = ctx.program.code[n++];
        in.opcode = data[0] % 6;                         // 0 and 5 are unknown codes
        in.operand = static_cast<int8_t>(data[1]) % 24;  // beyond the slots and operators too
        std::memcpy(&in.number, data + 5, sizeof in.number);
    }
    ctx.program.count = static_cast<int32_t>(n);
}

bool withinBounds(const ExprContext& c) {
    return c.stackTop >= -1 && c.stackTop < qf::kExprStackSize && c.pc >= 0 &&
           c.pc <= std::clamp(c.program.count, 0, qf::kExprMaxCode) && c.stackUsed >= 0 &&
           c.stackUsed <= qf::kExprStackSize;
}

// What differs, for the finding's report.
void printDifference(const ExprContext& zeroed, const ExprContext& full, double x) {
    std::fprintf(stderr, "runs from a zeroed and a full stack differ at x = %g\n", x);
    for (int k = 0; k < qf::kExprSlots; ++k)
        if (!same(zeroed.slots[k], full.slots[k]))
            std::fprintf(stderr, "  slot %d: %.17g / %.17g\n", k, zeroed.slots[k], full.slots[k]);
    for (int i = 0; i < qf::kExprStackSize; ++i)
        if (!same(zeroed.stack[i], full.stack[i]))
            std::fprintf(stderr, "  stack %d: %.17g / %.17g\n", i, zeroed.stack[i], full.stack[i]);
    std::fprintf(stderr, "  top %d / %d, pc %d / %d, errors %d / %d\n", zeroed.stackTop,
                 full.stackTop, zeroed.pc, full.pc, zeroed.errorCount, full.errorCount);
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

    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const double xs[] = {0.0, 1.0, -2.5, 1e-300, 1e300, kNaN, kInf};
    for (const double x : xs) {
        ctx.slots[0] = x;
        const ExprContext before = ctx;
        ctx.stack.fill(0.0);
        ctx.stackUsed = 0;
        qf::runProgram();
        const ExprContext zeroed = ctx;
        ctx = before;
        ctx.stack.fill(9.0);
        ctx.stackUsed = qf::kExprStackSize;
        qf::runProgram();
        if (!sameState(zeroed, ctx)) {
            printDifference(zeroed, ctx, x);
            std::abort();
        }
        if (!withinBounds(ctx)) {
            std::fprintf(stderr, "out of bounds: top %d, pc %d of %d, stack used %d\n",
                         ctx.stackTop, ctx.pc, ctx.program.count, ctx.stackUsed);
            std::abort();
        }
    }
    return 0;
}
