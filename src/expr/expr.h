#pragma once
// The formula engine: a compiler from formula text to stack-machine code and
// the machine that runs it. Its state is one record per thread (the window's
// thread has the one the window uses).

#include <array>
#include <cstdint>
#include <string_view>

#include "expr/escape.h"

namespace qf {

enum ExprOpcode : int32_t {
    OP_POP = 1,   // pop the top into slot `operand`
    OP_PSHI = 2,  // push slot `operand` (always 0, the variable x)
    OP_PSHN = 3,  // push `number`
    OP_CAL = 4,   // apply operator `operand` to the top of the stack
};

enum ExprOperator : int32_t {
    ADD = 1,
    SUB = 2,
    MUL = 3,
    DIV = 4,
    MIN = 5,
    SIN = 6,
    COS = 7,
    TAN = 8,
    ASIN = 9,
    ACOS = 10,
    ATAN = 11,
    SINH = 12,
    COSH = 13,
    TANH = 14,
    EXP = 15,
    LOG = 16,
    LOG10 = 17,
    POW = 18,
    SQRT = 19,
};

inline constexpr int kExprSourceSize = 2048;
inline constexpr int kExprSourceTaken = 2045;  // bytes of program text kept
inline constexpr int kExprTextSize = 2048;     // message buffers, NUL included
inline constexpr int kExprLineSize = 80;       // current line, NUL included
inline constexpr int kExprMaxNodes = 100;
inline constexpr int kExprMaxCode = 1024;
inline constexpr int kExprSlots = 16;  // slot 0 = x, 1..15 results
inline constexpr int kExprStackSize = 200;
inline constexpr int kExprMaxSteps = 65535;

enum ExprNodeKind : int32_t { NODE_VARIABLE = 100, NODE_NUMBER = 101 };

struct ExprNode {
    int32_t kind = 0;      // operator code 1..19, NODE_VARIABLE or NODE_NUMBER
    int32_t variable = 0;  // slot of a variable node (0)
    double number = 0.0;
    int32_t left = -1;  // node indices, -1 for none
    int32_t right = -1;
};

struct ExprInstruction {
    int32_t opcode = 0;
    int32_t operand = 0;
    double number = 0.0;  // OP_PSHN only
};

struct ExprProgram {
    std::array<ExprInstruction, kExprMaxCode> code{};
    int32_t count = 0;
};

// A fixed text buffer: lines are appended while it holds fewer than
// kExprTextSize bytes (NUL included); a line that does not fit whole is cut.
struct ExprText {
    std::array<char, kExprTextSize> data{};
    int32_t length = 0;
    void clear();
    void append(std::string_view line);
    std::string_view view() const { return {data.data(), static_cast<std::size_t>(length)}; }
};

struct ExprContext {
    std::array<char, kExprSourceSize> source{};
    int32_t sourcePos = 0;
    ExprText message;  // compile errors and the machine's stack overflow
    ExprText runtime;  // the machine's notices
    std::array<char, kExprLineSize> currentLine{};
    int32_t errorCount = 0;
    int32_t statementCounter = 1;
    std::array<ExprNode, kExprMaxNodes> nodes{};
    int32_t nodeCount = 0;
    ExprProgram program;
    std::array<double, kExprSlots> slots{};  // never cleared by a compile or a run
    std::array<double, kExprStackSize> stack{};
    int32_t stackTop = -1;
    int32_t pc = 0;
    int32_t stackUsed = 0;  // stack entries the last run wrote, zeroed by the next
};

// The engine state of the calling thread.
ExprContext& exprContext();

// Copies the program text into the source buffer (at most kExprSourceTaken
// bytes, NUL-terminated) and resets the counters and texts for a compile.
void loadExprSource(std::string_view text);

// Returns 0 when the input was accepted (perhaps after recovering from errors),
// 1 when error recovery gave up, 2 on parser stack overflow. The program may be
// run only when exprContext().errorCount is 0.
int compileProgram();

// Runs the whole program once with slot 0 as x.
void runProgram();

// BasisFunction of the formula model: slot 0 = u, one run, phi[k] = slot k, k = 1..6.
void expressionBasis(double u, double* phi, int m);

}  // namespace qf
