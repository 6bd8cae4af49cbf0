// The stack machine: runs the compiled program once per abscissa with fixed
// substitutes for the mishaps that would otherwise stop a fit.

#include <algorithm>
#include <cmath>
#include <cstring>

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

// Runs the program as it stands, guarding every instruction: with a poll,
// and for programs on which a guard fires. Flattened so that an operator is
// not another call next to the poll's.
[[gnu::noinline, gnu::flatten]] Outcome runChecked(ExprContext& ctx, int32_t end,
                                                   EscapePoll* poll) {
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

// A program on which no guard fires, prepared to run without guards. The
// stack depth before every instruction is known beforehand, so operands
// become pointers, and a push is merged with a following store, +, - or *
// (and a store after those that empties the stack) to cost one step. Without
// a poll nothing can happen between the merged instructions.
//
// Each kind is a bit of its own and is tested with &: a compiler turns a
// chain of == tests into one indirect jump shared by all kinds, which is
// predicted much worse than the chain.
enum Kind : uint32_t {
    kPush = 1 << 0,
    kPushPop = 1 << 1,
    kPushAdd = 1 << 2,
    kPushSub = 1 << 3,
    kPushMul = 1 << 4,
    kPop = 1 << 5,
    kBinary = 1 << 6,
    kUnary = 1 << 7,
    kStop = 1 << 8,
    kThenStore = 1 << 9,  // with kPushAdd, kPushSub, kPushMul
};

struct Op {
    Kind kind = kStop;
    int32_t op = 0;                 // operator of kBinary and kUnary
    double* entry = nullptr;        // stack entry written; for kPop the new top
    const double* value = nullptr;  // what a push pushes: a slot or a number in the code
    double* slot = nullptr;         // where a store stores
};

Kind mergedKind(int32_t op) {
    switch (op) {
        case ADD:
            return kPushAdd;
        case SUB:
            return kPushSub;
        case MUL:
            return kPushMul;
        default:
            return kPush;
    }
}

struct Decoded {
    // `ops` serve only while the program still equals this copy byte for
    // byte: comparing costs far less than the guards, and no way of changing
    // the program (a compile, a direct write) can leave stale steps running.
    std::array<ExprInstruction, kExprMaxCode> code{};
    int32_t end = -1;     // -1: nothing decoded yet
    bool guarded = true;  // a guard fires: run the checked machine instead
    int32_t top = -1;     // stack top after a run
    int32_t high = -1;    // highest stack entry a run writes
    std::array<Op, kExprMaxCode + 1> ops{};
};

// Beside the engine state of its thread (see context.cpp).
constinit thread_local Decoded g_decoded;

// Comparing bytes compares the fields only if there is no padding.
static_assert(sizeof(ExprInstruction) == 2 * sizeof(int32_t) + sizeof(double));

bool isStore(const ExprInstruction* in) {
    return in && in->opcode == OP_POP && !badSlot(in->operand);
}

// Follows the checked machine's stack depth through the program and gives up
// where it would stop with an error.
[[gnu::noinline]] void decode(ExprContext& ctx, int32_t end) {
    Decoded& dc = g_decoded;
    std::copy_n(ctx.program.code.begin(), end, dc.code.begin());
    dc.end = end;
    dc.guarded = true;
    auto& stack = ctx.stack;
    auto& slots = ctx.slots;
    auto code = [&](int32_t i) { return i < end ? &at(dc.code, i) : nullptr; };
    int32_t top = -1;
    int32_t high = -1;
    Op* out = dc.ops.data();
    for (int32_t i = 0; i < end; ++i) {
        const ExprInstruction& in = at(dc.code, i);
        const ExprInstruction* next = code(i + 1);
        const int32_t k = in.operand;
        switch (in.opcode) {
            case OP_PSHI:
            case OP_PSHN: {
                if (top >= kExprStackSize - 1 || (in.opcode == OP_PSHI && badSlot(k))) return;
                const double* value = in.opcode == OP_PSHI ? &at(slots, k) : &in.number;
                high = std::max(high, top + 1);
                if (isStore(next)) {
                    *out++ = {kPushPop, 0, &at(stack, top + 1), value, &at(slots, next->operand)};
                    ++i;
                } else if (next && next->opcode == OP_CAL && top >= 0 &&
                           mergedKind(next->operand) != kPush) {
                    Op merged = {mergedKind(next->operand), 0, &at(stack, top), value};
                    ++i;
                    if (top == 0 && isStore(code(i + 1))) {
                        merged.kind = static_cast<Kind>(merged.kind | kThenStore);
                        merged.slot = &at(slots, code(i + 1)->operand);
                        ++i;
                        top = -1;
                    }
                    *out++ = merged;
                } else {
                    *out++ = {kPush, 0, &at(stack, ++top), value};
                }
                break;
            }
            case OP_POP:
                if (top < 0 || badSlot(k)) return;
                --top;
                *out++ = {kPop, 0, &at(stack, std::max(top, 0)), nullptr, &at(slots, k)};
                break;
            case OP_CAL:
                if (isBinary(k)) {
                    if (top < 1) return;
                    --top;
                    *out++ = {kBinary, k, &at(stack, top)};
                } else if (isUnary(k)) {
                    if (top < 0) return;
                    *out++ = {kUnary, k, &at(stack, top)};
                }
                break;
            default:
                break;
        }
    }
    *out = {kStop};
    dc.guarded = false;
    dc.top = top;
    dc.high = high;
}

// True when the current program may run decoded.
bool decodedReady(ExprContext& ctx, int32_t end) {
    const Decoded& dc = g_decoded;
    const std::size_t bytes = sizeof(ExprInstruction) * static_cast<std::size_t>(end);
    if (end != dc.end || std::memcmp(ctx.program.code.data(), dc.code.data(), bytes) != 0) {
        decode(ctx, end);
    }
    return !dc.guarded;
}

// The top of the stack is also kept in t0, so that a chain like x*x*x does
// not wait for a store to reach the next load; the stack is written through
// as the checked machine writes it. The most frequent kinds come first.
void runDecoded(ExprContext& ctx, const Op* op) {
    double t0 = 0.0;
    for (;; ++op) {
        double* const s = op->entry;
        const Kind kind = op->kind;
        // a = t0 is the value below the pushed one, b = s[1] the pushed one.
        auto pushThen = [&](auto f) {
            s[1] = *op->value;
            *s = t0 = f(t0, s[1]);
            if (kind & kThenStore) *op->slot = t0;
        };
        if (kind & kPushMul) {
            pushThen([](double a, double b) { return clamped(a * b); });
            continue;
        }
        if (kind & kPush) {
            *s = t0 = *op->value;
            continue;
        }
        if (kind & kPop) {
            *op->slot = t0;
            t0 = *s;
            continue;
        }
        if (kind & kPushPop) {
            *op->slot = *s = *op->value;
            continue;
        }
        if (kind & kPushAdd) {
            pushThen([](double a, double b) { return a + b; });
            continue;
        }
        if (kind & kPushSub) {
            pushThen([](double a, double b) { return a - b; });
            continue;
        }
        if (kind & kBinary) {
            *s = t0 = binary(ctx, op->op, *s, t0);
            continue;
        }
        if (kind & kUnary) {
            *s = t0 = unary(op->op, t0);
            continue;
        }
        return;
    }
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

    EscapePoll* const poll = g_escapePoll;
    Outcome r;
    if (!poll && decodedReady(ctx, end)) {
        runDecoded(ctx, g_decoded.ops.data());
        r = {End::Done, end, g_decoded.top, g_decoded.high};
    } else {
        r = runChecked(ctx, end, poll);
    }
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
