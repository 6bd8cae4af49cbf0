#pragma once
// Shared set-up for the formula engine tests: the engine state is
// process-wide, so every test starts from a fresh one.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "expr/expr.h"

namespace qf {

inline bool operator==(const ExprInstruction& a, const ExprInstruction& b) {
    return a.opcode == b.opcode && a.operand == b.operand && a.number == b.number;
}

inline void PrintTo(const ExprInstruction& i, std::ostream* os) {
    static const char* const names[] = {"?", "POP", "PSHI", "PSHN", "CAL"};
    *os << (i.opcode >= 1 && i.opcode <= 4 ? names[i.opcode] : names[0]) << ' ' << i.operand;
    if (i.opcode == OP_PSHN) *os << " (" << i.number << ')';
}

class ExprTest : public ::testing::Test {
protected:
    void SetUp() override {
        exprContext() = ExprContext{};
        setEscapePoll(nullptr);
    }
    void TearDown() override { setEscapePoll(nullptr); }

    static ExprContext& ctx() { return exprContext(); }

    static int compile(std::string_view text) {
        loadExprSource(text);
        return compileProgram();
    }

    static std::vector<ExprInstruction> code() {
        const ExprProgram& p = exprContext().program;
        return {p.code.begin(), p.code.begin() + p.count};
    }

    static std::string message() { return std::string(exprContext().message.view()); }
    static std::string runtime() { return std::string(exprContext().runtime.view()); }

    // Compiles text that must be error-free, then runs it once at x.
    static void compileAndRun(std::string_view text, double x) {
        ASSERT_EQ(compile(text), 0) << text;
        ASSERT_EQ(exprContext().errorCount, 0) << text << ": " << message();
        exprContext().slots[0] = x;
        runProgram();
    }
};

inline ExprInstruction pshi() {
    return {OP_PSHI, 0, 0.0};
}
inline ExprInstruction pshn(double v) {
    return {OP_PSHN, 0, v};
}
inline ExprInstruction cal(int32_t op) {
    return {OP_CAL, op, 0.0};
}
inline ExprInstruction pop(int32_t slot) {
    return {OP_POP, slot, 0.0};
}

}  // namespace qf
