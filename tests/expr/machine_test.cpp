#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <ostream>
#include <string>
#include <vector>

#include "expr_fixture.h"

namespace qf {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Stops when asked the n-th time (never when n is 0); counts the questions.
class FakePoll : public EscapePoll {
public:
    explicit FakePoll(int stopAt) : stopAt_(stopAt) {}
    bool escapeRequested() override { return ++asked == stopAt_ || held; }
    int asked = 0;
    bool held = false;

private:
    int stopAt_;
};

struct RunCase {
    const char* source;
    double x;
    double expected;  // NaN: the result must be NaN
    const char* notice;
};

class MachineResults : public ExprTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(MachineResults, SubstitutesAndClamps) {
    const RunCase& c = GetParam();
    compileAndRun(c.source, c.x);
    const double got = ctx().slots[1];
    if (std::isnan(c.expected)) {
        EXPECT_TRUE(std::isnan(got)) << got;
    } else {
        EXPECT_EQ(got, c.expected);
    }
    EXPECT_EQ(runtime(), c.notice);
    EXPECT_EQ(ctx().errorCount, 0);
}

const char* const kDivided = "[Divided 0.0]\r\n";

INSTANTIATE_TEST_SUITE_P(
    Operators, MachineResults,
    ::testing::Values(
        // Division by zero: the sign of the dividend decides, 0 counting as positive.
        RunCase{"1/x;", 0.0, 1e24, kDivided}, RunCase{"1/x;", -0.0, 1e24, kDivided},
        RunCase{"0/x;", 0.0, 1e24, kDivided}, RunCase{"-1/x;", 0.0, -1e24, kDivided},
        RunCase{"x/0;", kNaN, -1e24, kDivided}, RunCase{"1/x;", kNaN, kNaN, ""},
        RunCase{"1/x;", 4.0, 0.25, ""},
        // Domain substitutes, NaN included.
        RunCase{"sqrt(x);", -4.0, 0.0, ""}, RunCase{"sqrt(x);", kNaN, 0.0, ""},
        RunCase{"sqrt(x);", 9.0, 3.0, ""}, RunCase{"log(x);", 0.0, std::log(1e-24), ""},
        RunCase{"log(x);", kNaN, std::log(1e-24), ""},
        RunCase{"log(x);", 1e-24, std::log(1e-24), ""},
        RunCase{"log(x);", std::numbers::e, 1.0, ""}, RunCase{"log10(x);", 0.0, -24.0, ""},
        RunCase{"log10(x);", -5.0, -24.0, ""}, RunCase{"log10(x);", 1000.0, 3.0, ""},
        // Clamped operations, NaN passing through.
        RunCase{"exp(x);", 100.0, 1e24, ""}, RunCase{"-exp(x);", 100.0, -1e24, ""},
        RunCase{"x*x;", 1e13, 1e24, ""}, RunCase{"x*-x;", 1e13, -1e24, ""},
        RunCase{"x*1;", kNaN, kNaN, ""}, RunCase{"pow(10, x);", 25.0, 1e24, ""},
        RunCase{"(-10)**x;", 25.0, -1e24, ""},
        // Unclamped operations keep the library's results.
        RunCase{"x+x;", 1e300, 2e300, ""}, RunCase{"x-(-x);", 1e308, kInf, ""},
        RunCase{"sinh(x);", 1000.0, kInf, ""}, RunCase{"-cosh(x);", 1000.0, -kInf, ""},
        RunCase{"asin(x);", 2.0, kNaN, ""}, RunCase{"pow(-8, 1/3);", 0.0, kNaN, ""},
        // Precedence as the user sees it.
        RunCase{"2**3**2;", 0.0, 64.0, ""}, RunCase{"-2**2;", 0.0, 4.0, ""},
        RunCase{"2**-1;", 0.0, 0.5, ""}, RunCase{"1--x;", 2.0, 3.0, ""},
        RunCase{"x*-2;", 3.0, -6.0, ""}, RunCase{"1+2*x**2/4-1;", 2.0, 2.0, ""},
        RunCase{"sin(Pi/2)+cos(0);", 0.0, 2.0, ""},
        // Operands left waiting below library calls and nested operations.
        RunCase{"1-(2-(3-x));", 5.0, -3.0, ""}, RunCase{"1-(2-(3-exp(x)));", 0.0, 1.0, ""},
        RunCase{"sin(x)*x + x/2 - sqrt(x)*-x;", 4.0,
                std::sin(4.0) * 4.0 + 4.0 / 2.0 - std::sqrt(4.0) * -4.0, ""}));

TEST_F(ExprTest, ExpressionBasisFillsPhiOneToSix) {
    compileAndRun("1;\r\nx;\r\nx*x;\r\nx*x*x;\r\nx*x*x*x;\r\nx*x*x*x*x;\r\n", 0.0);
    double phi[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
    expressionBasis(2.0, phi, 6);
    const double expected[8] = {-1, 1, 2, 4, 8, 16, 32, -1};
    for (int k = 0; k < 8; ++k) EXPECT_EQ(phi[k], expected[k]) << k;
    EXPECT_EQ(ctx().slots[0], 2.0);
}

TEST_F(ExprTest, EmptyFormulaLeavesTheLastSlotFromEarlierRuns) {
    ctx().slots[6] = 42.0;
    compileAndRun("1;\r\n;\r\nx;\r\nx;\r\nx;\r\nx;\r\n", 5.0);
    double phi[7] = {};
    expressionBasis(5.0, phi, 6);
    EXPECT_EQ(phi[5], 5.0);
    EXPECT_EQ(phi[6], 42.0);
}

TEST_F(ExprTest, NoticesAccumulateAcrossRunsUpToTheCap) {
    compileAndRun("1/x;", 0.0);
    for (int i = 0; i < 200; ++i) runProgram();
    EXPECT_EQ(ctx().runtime.length, kExprTextSize - 1);
    std::string all;
    for (int i = 0; i < 201; ++i) all += "[Divided 0.0]\r\n";
    EXPECT_EQ(runtime(), all.substr(0, kExprTextSize - 1));
}

TEST_F(ExprTest, EveryRunStartsFromAZeroedStack) {
    compileAndRun("x*(x*(x*(x+1)));", 3.0);
    EXPECT_EQ(ctx().slots[1], 3.0 * 3 * 3 * 4);
    compileAndRun("x;", 7.0);
    std::array<double, kExprStackSize> expected{};
    expected[0] = 7.0;
    EXPECT_EQ(ctx().stack, expected);
    EXPECT_EQ(ctx().stackTop, -1);
}

TEST_F(ExprTest, EscapeIsPolledBeforeEveryInstruction) {
    compileAndRun("x;\r\nx*x;\r\n", 1.0);  // slots 1, 2 = 1, 1
    FakePoll poll(0);
    setEscapePoll(&poll);
    ctx().slots[0] = 3.0;
    runProgram();
    EXPECT_EQ(poll.asked, ctx().program.count);
    EXPECT_EQ(ctx().slots[2], 9.0);
    EXPECT_EQ(runtime(), "");
}

TEST_F(ExprTest, EscapeCutsTheRunAndKeepsOlderSlots) {
    compileAndRun("x;\r\nx*x;\r\n", 2.0);  // slots 1, 2 = 2, 4
    // Asked for the third time, before the first instruction of statement 2.
    FakePoll poll(3);
    setEscapePoll(&poll);
    ctx().slots[0] = 5.0;
    runProgram();
    EXPECT_EQ(ctx().slots[1], 5.0);
    EXPECT_EQ(ctx().slots[2], 4.0);
    EXPECT_EQ(runtime(), "[ABORT (key ESC)]\r\n");

    // Held down: every run is cut before its first instruction.
    poll.held = true;
    double phi[7] = {};
    for (double u : {7.0, 8.0}) expressionBasis(u, phi, 6);
    EXPECT_EQ(phi[1], 5.0);
    EXPECT_EQ(phi[2], 4.0);
    EXPECT_EQ(runtime(), "[ABORT (key ESC)]\r\n[ABORT (key ESC)]\r\n[ABORT (key ESC)]\r\n");
    EXPECT_EQ(ctx().errorCount, 0);

    setEscapePoll(nullptr);
    expressionBasis(3.0, phi, 6);
    EXPECT_EQ(phi[2], 9.0);
}

TEST_F(ExprTest, FullCodeAreaRunsWithinTheStepLimit) {
    ExprProgram& p = ctx().program;
    for (int i = 0; i < kExprMaxCode; i += 2) {
        p.code[i] = pshn(i);
        p.code[i + 1] = pop(1 + (i / 2) % 15);
    }
    // A count beyond the area is not trusted to index it.
    p.count = 100000;
    runProgram();
    EXPECT_EQ(ctx().pc, kExprMaxCode);
    EXPECT_EQ(ctx().slots[1 + (kExprMaxCode / 2 - 1) % 15], kExprMaxCode - 2);
    EXPECT_EQ(runtime(), "");
    EXPECT_EQ(ctx().errorCount, 0);
}

struct BadProgramCase {
    const char* name;
    std::vector<ExprInstruction> code;
    const char* message;
};

class MachineGuards : public ExprTest, public ::testing::WithParamInterface<BadProgramCase> {};

// Hand-made programs the compiler never emits must not touch memory outside
// the stack and slots; the run ends with a counted message.
TEST_P(MachineGuards, EndsTheRunWithAMessage) {
    const BadProgramCase& c = GetParam();
    ExprProgram& p = ctx().program;
    std::copy(c.code.begin(), c.code.end(), p.code.begin());
    p.count = static_cast<int32_t>(c.code.size());
    ctx().slots.fill(-1.0);
    runProgram();
    EXPECT_EQ(message(), c.message);
    EXPECT_EQ(ctx().errorCount, 1);
    EXPECT_GE(ctx().stackTop, -1);
    EXPECT_LT(ctx().stackTop, kExprStackSize);
    EXPECT_EQ(ctx().slots[1], -1.0);
}

std::vector<ExprInstruction> pushes(int n) {
    std::vector<ExprInstruction> code(static_cast<std::size_t>(n), pshn(1.0));
    code.push_back(pop(1));
    return code;
}

INSTANTIATE_TEST_SUITE_P(
    Programs, MachineGuards,
    ::testing::Values(
        BadProgramCase{"Overflow", pushes(kExprStackSize + 1), "[stack overflow!!!]\r\n"},
        BadProgramCase{"PopEmpty", {pop(1)}, "[stack underflow]\r\n"},
        BadProgramCase{"BinaryOnOne", {pshn(1), cal(ADD), pop(1)}, "[stack underflow]\r\n"},
        BadProgramCase{"UnaryOnNone", {cal(SIN), pop(1)}, "[stack underflow]\r\n"},
        BadProgramCase{"PopSlot16", {pshn(1), pop(kExprSlots), pop(1)}, "[slot out of range]\r\n"},
        BadProgramCase{"PushSlotMinus1", {{OP_PSHI, -1, 0.0}, pop(1)}, "[slot out of range]\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// Everything a run leaves behind; numbers as bits, so that -0 differs from 0.
struct RunState {
    std::array<uint64_t, kExprSlots> slots;
    std::array<uint64_t, kExprStackSize> stack;
    int32_t stackTop, pc, errorCount;
    std::string runtime, message;
    bool operator==(const RunState&) const = default;
};

RunState runState() {
    const ExprContext& c = exprContext();
    return {std::bit_cast<std::array<uint64_t, kExprSlots>>(c.slots),
            std::bit_cast<std::array<uint64_t, kExprStackSize>>(c.stack),
            c.stackTop,
            c.pc,
            c.errorCount,
            std::string(c.runtime.view()),
            std::string(c.message.view())};
}

void PrintTo(const RunState& r, std::ostream* os) {
    *os << "top " << r.stackTop << ", pc " << r.pc << ", errors " << r.errorCount << ", slots";
    for (const uint64_t v : r.slots) *os << ' ' << std::bit_cast<double>(v);
    *os << ", stack";
    for (int i = 0; i <= 8; ++i) *os << ' ' << std::bit_cast<double>(r.stack[i]);
    *os << ", runtime \"" << r.runtime << "\", message \"" << r.message << '"';
}

ExprInstruction pushSlot(int32_t k) {
    return {OP_PSHI, k, 0.0};
}

struct StackCase {
    const char* name;
    const char* source;  // compiled when set, else `code`
    std::vector<ExprInstruction> code;
};

void PrintTo(const StackCase& c, std::ostream* os) {
    *os << c.name;
}

class MachineStack : public ExprTest, public ::testing::WithParamInterface<StackCase> {};

// A run clears only the stack entries an earlier, deeper run left above its
// own; it must leave what a run from a zeroed stack leaves, run after run.
TEST_P(MachineStack, RunsAsFromAZeroedStack) {
    const StackCase& c = GetParam();
    if (c.source) {
        ASSERT_EQ(compile(c.source), 0);
        ASSERT_EQ(ctx().errorCount, 0) << message();
    } else {
        std::copy(c.code.begin(), c.code.end(), ctx().program.code.begin());
        ctx().program.count = static_cast<int32_t>(c.code.size());
    }
    for (int k = 0; k < kExprSlots; ++k) ctx().slots[k] = k + 0.5;
    const ExprContext start = ctx();
    std::vector<RunState> seen[2];
    for (const bool leftOver : {false, true}) {
        ctx() = start;
        if (leftOver) {
            ctx().stack.fill(9.0);
            ctx().stackUsed = kExprStackSize;
        }
        for (const double x : {3.0, 0.0, -2.0}) {
            ctx().slots[0] = x;
            runProgram();
            seen[leftOver].push_back(runState());
        }
    }
    EXPECT_EQ(seen[0], seen[1]);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, MachineStack,
    ::testing::Values(
        StackCase{"Default", "1;\r\nx;\r\nx*x;\r\nx*x*x;\r\nx*x*x*x;\r\nx*x*x*x*x;\r\n", {}},
        StackCase{"Mixed", "x-1; 2+x*x; (x+1)*(x-2); 1/x; sin(x)*x-x; x**2/3; -x+-(x-1);", {}},
        StackCase{"Nested", "1-(2-(3-(x+4)*x)*x); x*(x*(x*(x+1)));", {}},
        // Stores that leave values on the stack, and values left at the end.
        StackCase{"StoreBelowTop",
                  nullptr,
                  {pshn(2), pshi(), pshn(3), cal(MUL), pop(1), pshi(), cal(ADD), pop(2), pshn(4),
                   pshn(5), pop(3), pshi(), cal(SUB), pop(4), pshn(6)}},
        // Slots read after this run wrote them, slot 0 included.
        StackCase{"SlotsRewritten",
                  nullptr,
                  {pshi(), pshn(1), cal(ADD), pop(1), pushSlot(1), pshi(), cal(MUL), pop(0), pshi(),
                   pop(2), pushSlot(15), pushSlot(2), cal(SUB), pop(15)}},
        StackCase{"UnknownCodes",
                  nullptr,
                  {pshi(), {0, 3, 0.0}, pshn(2), cal(0), cal(MUL), {9, 1, 0.0}, cal(20), pop(1)}},
        // A guard fires after the run wrote part of the stack.
        StackCase{
            "GuardLater", nullptr, {pshi(), pshn(2), cal(MUL), pop(1), pshi(), pop(16), pop(2)}},
        StackCase{"NoticesInOrder", "1/x; x*x; 2/x;", {}}, StackCase{"Empty", nullptr, {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct EditCase {
    const char* name;
    const char* source;
    void (*edit)(ExprProgram&);
    double slot1;  // after the edited program ran at x = 3
};

void PrintTo(const EditCase& c, std::ostream* os) {
    *os << c.name;
}

class MachineEdits : public ExprTest, public ::testing::WithParamInterface<EditCase> {};

// The program may be changed behind the machine's back between runs; the
// next run must run the changed program.
TEST_P(MachineEdits, RunTheEditedProgram) {
    const EditCase& c = GetParam();
    compileAndRun(c.source, 3.0);
    ctx().slots[1] = -1.0;
    c.edit(ctx().program);
    runProgram();
    EXPECT_EQ(ctx().slots[1], c.slot1);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, MachineEdits,
    ::testing::Values(
        EditCase{"Operator", "x*x;", [](ExprProgram& p) { p.code[2].operand = ADD; }, 6.0},
        EditCase{"Number", "x+1;", [](ExprProgram& p) { p.code[1].number = 2.0; }, 5.0},
        EditCase{"Opcode", "x;", [](ExprProgram& p) { p.code[0] = pshn(7.0); }, 7.0},
        EditCase{"Slot", "x;", [](ExprProgram& p) { p.code[1].operand = 2; }, -1.0},
        EditCase{"Count", "x*x;", [](ExprProgram& p) { p.count = 3; }, -1.0},
        EditCase{"CountUp", "x*x;",
                 [](ExprProgram& p) {
                     p.code[4] = pshn(1.0);
                     p.code[5] = pop(1);
                     p.count += 2;
                 },
                 1.0},
        EditCase{"Cleared", "x*x;", [](ExprProgram& p) { p = ExprProgram{}; }, -1.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExprTest, FullStackStillRuns) {
    ExprProgram& p = ctx().program;
    std::vector<ExprInstruction> code(kExprStackSize, pshn(2.0));
    for (int i = 1; i < kExprStackSize; ++i) code.push_back(cal(MUL));
    code.push_back(pop(1));
    std::copy(code.begin(), code.end(), p.code.begin());
    p.count = static_cast<int32_t>(code.size());
    runProgram();
    EXPECT_EQ(ctx().errorCount, 0) << message();
    EXPECT_EQ(ctx().slots[1], 1e24);
}

TEST_F(ExprTest, UnknownOperatorLeavesTheStackUnchanged) {
    ExprProgram& p = ctx().program;
    const std::vector<ExprInstruction> code = {pshn(5), pshn(6), cal(0), cal(20), pop(2), pop(1)};
    std::copy(code.begin(), code.end(), p.code.begin());
    p.count = static_cast<int32_t>(code.size());
    runProgram();
    EXPECT_EQ(ctx().slots[1], 5.0);
    EXPECT_EQ(ctx().slots[2], 6.0);
    EXPECT_EQ(ctx().errorCount, 0);
}

}  // namespace
}  // namespace qf
