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

double clamped(double v) {
    if (v > kClamp) v = kClamp;
    if (v < -kClamp) v = -kClamp;
    return v;
}

double divide(ExprContext& ctx, double a, double b) {
    if (b != 0.0) return a / b;
    ctx.runtime.append("[Divided 0.0]\r\n");
    if (a == 0.0) a = 1.0;
    return a > 0.0 ? kClamp : -kClamp;
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
        case SQRT:
            return b >= 0.0 ? std::sqrt(b) : 0.0;
        default:
            return b;
    }
}

// How an instruction or a run ended: Next when it executed normally; Call
// when it was left for the path that may call the mathematics library.
enum class Step { Next, Call, Escape, Overflow, Underflow, BadSlot };

// The machine's registers. The stack in the context is always written
// through, but its two top entries are also kept here so that a chain like
// x*x*x never waits for a store to reach the next load.
// Invariant: t0 = stack[top], t1 = stack[top - 1] where those exist.
// (t0 and t1 are not adjacent: packed together, GCC moves them as one vector
// and shuffles it on every instruction.)
struct Regs {
    double t0 = 0.0;
    int32_t pc = 0;
    int32_t top = -1;
    double t1 = 0.0;
    int32_t high = -1;  // highest stack index written in this run
};

bool badSlot(int32_t k) {
    return static_cast<uint32_t>(k) >= static_cast<uint32_t>(kExprSlots);
}

double& at(ExprContext& ctx, int32_t i) {
    return ctx.stack[static_cast<std::size_t>(i)];
}

void push(ExprContext& ctx, Regs& r, double v) {
    at(ctx, ++r.top) = v;
    r.high = std::max(r.high, r.top);
    r.t1 = r.t0;
    r.t0 = v;
}

void drop(ExprContext& ctx, Regs& r) {
    --r.top;
    r.t0 = r.t1;
    r.t1 = at(ctx, std::max(r.top - 1, 0));
}

// The result of a two-operand operator replaces both operands.
void replaceTwo(ExprContext& ctx, Regs& r, double v) {
    drop(ctx, r);
    at(ctx, r.top) = v;
    r.t0 = v;
}

void replaceTop(ExprContext& ctx, Regs& r, double v) {
    at(ctx, r.top) = v;
    r.t0 = v;
}

bool fullStack(const Regs& r) {
    return r.top >= kExprStackSize - 1;
}

// The operators other than ADD, SUB and MUL. With kWithCalls false, those that
// need a library call or write a notice are left alone and reported as Call.
template <bool kWithCalls>
Step otherOperator(ExprContext& ctx, Regs& r, int32_t op) {
    if (op < ADD || op > SQRT) return Step::Next;  // unknown operator: no effect
    if (op == DIV || op == POW) {
        if (r.top < 1) return Step::Underflow;
        if constexpr (kWithCalls) {
            replaceTwo(ctx, r, op == DIV ? divide(ctx, r.t1, r.t0) : clamped(std::pow(r.t1, r.t0)));
            return Step::Next;
        }
        return Step::Call;
    }
    if (r.top < 0) return Step::Underflow;
    if (op == MIN) {
        replaceTop(ctx, r, -r.t0);
        return Step::Next;
    }
    if constexpr (kWithCalls) {
        replaceTop(ctx, r, unary(op, r.t0));
        return Step::Next;
    }
    return Step::Call;
}

// Executes the instruction at r.pc, testing for the most frequent first.
template <bool kWithCalls>
Step step(ExprContext& ctx, Regs& r) {
    const ExprInstruction& in = ctx.program.code[static_cast<std::size_t>(r.pc)];
    const int32_t op = in.opcode;
    const int32_t operand = in.operand;
    if (op == OP_PSHI) {
        if (fullStack(r) | badSlot(operand)) [[unlikely]] {
            return fullStack(r) ? Step::Overflow : Step::BadSlot;
        }
        push(ctx, r, ctx.slots[static_cast<std::size_t>(operand)]);
        return Step::Next;
    }
    if (op == OP_CAL) {
        if (operand != MUL && operand != ADD && operand != SUB) {
            return otherOperator<kWithCalls>(ctx, r, operand);
        }
        if (r.top < 1) [[unlikely]] {
            return Step::Underflow;
        }
        const double v = operand == MUL   ? clamped(r.t1 * r.t0)
                         : operand == ADD ? r.t1 + r.t0
                                          : r.t1 - r.t0;
        replaceTwo(ctx, r, v);
        return Step::Next;
    }
    if (op == OP_POP) {
        if ((r.top < 0) | badSlot(operand)) [[unlikely]] {
            return r.top < 0 ? Step::Underflow : Step::BadSlot;
        }
        ctx.slots[static_cast<std::size_t>(operand)] = r.t0;
        drop(ctx, r);
        return Step::Next;
    }
    if (op == OP_PSHN) {
        if (fullStack(r)) [[unlikely]] {
            return Step::Overflow;
        }
        push(ctx, r, in.number);
    }
    return Step::Next;
}

// Runs until the end or the first instruction that is not plain arithmetic.
// It calls nothing, so the registers stay in machine registers throughout.
[[gnu::noinline]] Step runPlain(ExprContext& ctx, Regs& io, int32_t end) {
    Regs r = io;
    Step s = Step::Next;
    for (; r.pc < end; ++r.pc) {
        s = step<false>(ctx, r);
        if (s != Step::Next) break;
    }
    io = r;
    return s;
}

Step runUnpolled(ExprContext& ctx, Regs& r, int32_t end) {
    for (;;) {
        Step s = runPlain(ctx, r, end);
        if (s == Step::Call) s = step<true>(ctx, r);
        if (s != Step::Next || r.pc >= end) return s;
        ++r.pc;
    }
}

// Asks before every instruction. Flattened so that the instruction itself is
// not another call next to the poll's.
[[gnu::flatten]] Step runPolled(ExprContext& ctx, Regs& r, int32_t end, EscapePoll* poll) {
    for (; r.pc < end; ++r.pc) {
        if (poll->escapeRequested()) return Step::Escape;
        const Step s = step<true>(ctx, r);
        if (s != Step::Next) return s;
    }
    return Step::Next;
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

    // Without a poll the check costs one branch per run, not per instruction.
    Regs r;
    EscapePoll* const poll = g_escapePoll;
    const Step result = poll ? runPolled(ctx, r, end, poll) : runUnpolled(ctx, r, end);
    ctx.pc = r.pc;
    ctx.stackTop = r.top;

    // Each run starts from a zeroed stack. The run overwrote entries 0..high
    // before reading them, so only what an earlier run left above them can
    // still differ from zero; clearing that now gives the same stack for
    // every run without a clearing pass when the depth does not change.
    const int32_t used = std::clamp(ctx.stackUsed, 0, kExprStackSize);
    for (int32_t i = r.high + 1; i < used; ++i) at(ctx, i) = 0.0;
    ctx.stackUsed = r.high + 1;

    switch (result) {
        case Step::Next:
        case Step::Call:
            if (overLimit) ctx.runtime.append("[ABORT(Infinite Loop?)]\r\n");
            break;
        case Step::Escape:
            ctx.runtime.append("[ABORT (key ESC)]\r\n");
            break;
        case Step::Overflow:
            ++ctx.errorCount;
            ctx.message.append("[stack overflow!!!]\r\n");
            break;
        // Only hand-made programs get here; the compiler's never do.
        case Step::Underflow:
            ++ctx.errorCount;
            ctx.message.append("[stack underflow]\r\n");
            break;
        case Step::BadSlot:
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
