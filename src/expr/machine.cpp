// The stack machine: runs the compiled program once per abscissa with fixed
// substitutes for the mishaps that would otherwise stop a fit.

#include <algorithm>
#include <cmath>

#include "compiler_internal.h"
#include "expr/expr.h"

namespace qf {

namespace {

constexpr double kClamp = 1e24;
constexpr double kLogFloor = 1e-24;
const double kLogOfFloor = std::log(kLogFloor);
constexpr double kLog10OfFloor = -24.0;

// The code area is far below the step limit and there are no jumps, so a run
// always ends by itself; the limit stays as a guard should either change.
static_assert(kExprMaxCode <= kExprMaxSteps);

EscapePoll* g_escapePoll = nullptr;

// Beyond ±1e24 becomes ±1e24; NaN passes, as no comparison with it holds.
double clamped(double v) {
    return std::fabs(v) > kClamp ? std::copysign(kClamp, v) : v;
}

[[gnu::cold, gnu::noinline]] double divideByZero(ExprContext& ctx, double a) {
    ctx.runtime.append("[Divided 0.0]\r\n");
    if (a == 0.0) a = 1.0;
    return a > 0.0 ? kClamp : -kClamp;
}

bool isBinary(int32_t op) {
    return (op >= ADD && op <= DIV) || op == POW;
}

bool isUnary(int32_t op) {
    return op >= MIN && op <= SQRT && op != POW;
}

// a is the value below the top, b the top.
double binary(ExprContext& ctx, int32_t op, double a, double b) {
    switch (op) {
        case ADD:
            return a + b;
        case SUB:
            return a - b;
        case MUL:
            return clamped(a * b);
        case DIV:
            return b != 0.0 ? a / b : divideByZero(ctx, a);
        default:
            return clamped(std::pow(a, b));
    }
}

double unary(int32_t op, double b) {
    switch (op) {
        case MIN:
            return -b;
        case SIN:
            return std::sin(b);
        case COS:
            return std::cos(b);
        case TAN:
            return clamped(std::tan(b));
        case ASIN:
            return std::asin(b);
        case ACOS:
            return std::acos(b);
        case ATAN:
            return std::atan(b);
        case SINH:
            return std::sinh(b);
        case COSH:
            return std::cosh(b);
        case TANH:
            return clamped(std::tanh(b));
        case EXP:
            return clamped(std::exp(b));
        case LOG:
            return b > kLogFloor ? std::log(b) : kLogOfFloor;
        case LOG10:
            return b > kLogFloor ? std::log10(b) : kLog10OfFloor;
        default:
            return b >= 0.0 ? std::sqrt(b) : 0.0;
    }
}

bool badSlot(int32_t k) {
    return static_cast<uint32_t>(k) >= static_cast<uint32_t>(kExprSlots);
}

template <class Array>
auto& at(Array& a, int32_t i) {
    return a[static_cast<std::size_t>(i)];
}

enum class End { Done, Escape, Overflow, Underflow, BadSlot };

// Where a run stopped: pc is the instruction it did not execute (the end when
// done); it wrote stack entries 0..high.
struct Outcome {
    End end = End::Done;
    int32_t pc = 0;
    int32_t top = -1;
    int32_t high = -1;
};

// Runs the program as it stands, guarding every instruction: hand-made or
// edited programs reach the machine too. Flattened so that an operator is
// not another call next to the poll's.
[[gnu::flatten]] Outcome execute(ExprContext& ctx, int32_t end, EscapePoll* poll) {
    Outcome r;
    auto& stack = ctx.stack;
    auto& slots = ctx.slots;
    for (; r.pc < end; ++r.pc) {
        if (poll && poll->escapeRequested()) {
            r.end = End::Escape;
            return r;
        }
        const ExprInstruction& in = at(ctx.program.code, r.pc);
        const int32_t k = in.operand;
        switch (in.opcode) {
            case OP_PSHI:
            case OP_PSHN:
                if (r.top >= kExprStackSize - 1) {
                    r.end = End::Overflow;
                } else if (in.opcode == OP_PSHI && badSlot(k)) {
                    r.end = End::BadSlot;
                } else {
                    at(stack, ++r.top) = in.opcode == OP_PSHI ? at(slots, k) : in.number;
                    r.high = std::max(r.high, r.top);
                }
                break;
            case OP_POP:
                if (r.top < 0) {
                    r.end = End::Underflow;
                } else if (badSlot(k)) {
                    r.end = End::BadSlot;
                } else {
                    at(slots, k) = at(stack, r.top--);
                }
                break;
            case OP_CAL:
                if (isBinary(k)) {
                    if (r.top < 1) {
                        r.end = End::Underflow;
                    } else {
                        --r.top;
                        at(stack, r.top) = binary(ctx, k, at(stack, r.top), at(stack, r.top + 1));
                    }
                } else if (isUnary(k)) {
                    if (r.top < 0) {
                        r.end = End::Underflow;
                    } else {
                        at(stack, r.top) = unary(k, at(stack, r.top));
                    }
                }
                break;
            default:  // unknown opcode: no effect
                break;
        }
        if (r.end != End::Done) return r;
    }
    return r;
}

}  // namespace

void setEscapePoll(EscapePoll* poll) {
    g_escapePoll = poll;
}

void runProgram() {
    ExprContext& ctx = detail::g_context;

    // A count beyond the code area would read past it; there are no jumps,
    // so the step limit can only cut a program longer than itself.
    int32_t end = std::clamp(ctx.program.count, 0, kExprMaxCode);
    const bool overLimit = end > kExprMaxSteps;
    if (overLimit) end = kExprMaxSteps;

    const Outcome r = execute(ctx, end, g_escapePoll);
    ctx.pc = r.pc;
    ctx.stackTop = r.top;

    // Each run starts from a zeroed stack. The run overwrote entries 0..high
    // before reading them, so only what an earlier run left above them can
    // still differ from zero; clearing that now gives the same stack for
    // every run without a clearing pass when the depth does not change.
    const int32_t used = std::clamp(ctx.stackUsed, 0, kExprStackSize);
    for (int32_t i = r.high + 1; i < used; ++i) at(ctx.stack, i) = 0.0;
    ctx.stackUsed = r.high + 1;

    switch (r.end) {
        case End::Done:
            if (overLimit) ctx.runtime.append("[ABORT(Infinite Loop?)]\r\n");
            break;
        case End::Escape:
            ctx.runtime.append("[ABORT (key ESC)]\r\n");
            break;
        case End::Overflow:
            ++ctx.errorCount;
            ctx.message.append("[stack overflow!!!]\r\n");
            break;
        // Only hand-made programs get here; the compiler's never do.
        case End::Underflow:
            ++ctx.errorCount;
            ctx.message.append("[stack underflow]\r\n");
            break;
        case End::BadSlot:
            ++ctx.errorCount;
            ctx.message.append("[slot out of range]\r\n");
            break;
    }
}

void expressionBasis(double u, double* phi, int m) {
    (void)m;  // the formula model always has six basis functions
    ExprContext& ctx = detail::g_context;
    ctx.slots[0] = u;
    runProgram();
    for (int k = 1; k <= 6; ++k) phi[k] = ctx.slots[static_cast<std::size_t>(k)];
}

}  // namespace qf
