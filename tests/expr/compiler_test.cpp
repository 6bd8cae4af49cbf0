#include <clocale>
#include <numbers>
#include <string>

#include "expr_fixture.h"

namespace qf {
namespace {

using Code = std::vector<ExprInstruction>;

std::string repeat(std::string_view piece, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += piece;
    return s;
}

// "x+x+...+x" with n variables: 2n - 1 tree nodes.
std::string sumOfX(int n) {
    return "x" + repeat("+x", n - 1);
}

struct CodeCase {
    const char* source;
    Code code;
};

class CompilerCode : public ExprTest, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(CompilerCode, GeneratesPostOrderCode) {
    const CodeCase& c = GetParam();
    EXPECT_EQ(compile(c.source), 0);
    EXPECT_EQ(ctx().errorCount, 0) << message();
    EXPECT_EQ(message(), "");
    EXPECT_EQ(code(), c.code);
}

INSTANTIATE_TEST_SUITE_P(
    Statements, CompilerCode,
    ::testing::Values(
        CodeCase{"x * x + 1;", {pshi(), pshi(), cal(MUL), pshn(1.0), cal(ADD), pop(1)}},
        CodeCase{"((x));", {pshi(), pop(1)}},
        CodeCase{"pow(x, 2);", {pshi(), pshn(2.0), cal(POW), pop(1)}},
        CodeCase{"pow((x),(2));", {pshi(), pshn(2.0), cal(POW), pop(1)}},
        // Precedence and associativity.
        CodeCase{"1 + x * 2;", {pshn(1), pshi(), pshn(2), cal(MUL), cal(ADD), pop(1)}},
        CodeCase{"1 - x - 2;", {pshn(1), pshi(), cal(SUB), pshn(2), cal(SUB), pop(1)}},
        CodeCase{"8 / x / 2;", {pshn(8), pshi(), cal(DIV), pshn(2), cal(DIV), pop(1)}},
        CodeCase{"2 * x ** 3;", {pshn(2), pshi(), pshn(3), cal(POW), cal(MUL), pop(1)}},
        CodeCase{"2**3**2;", {pshn(2), pshn(3), cal(POW), pshn(2), cal(POW), pop(1)}},
        CodeCase{"-x**2;", {pshi(), cal(MIN), pshn(2), cal(POW), pop(1)}},
        CodeCase{"2**-1;", {pshn(2), pshn(1), cal(MIN), cal(POW), pop(1)}},
        CodeCase{"x*-2;", {pshi(), pshn(2), cal(MIN), cal(MUL), pop(1)}},
        CodeCase{"1--x;", {pshn(1), pshi(), cal(MIN), cal(SUB), pop(1)}},
        CodeCase{"(1 + x) * 2;", {pshn(1), pshi(), cal(ADD), pshn(2), cal(MUL), pop(1)}},
        // Longest name first; the character after a name is not examined.
        CodeCase{"log10(x); log(x); sinh(x); sin(x);",
                 {pshi(), cal(LOG10), pop(1), pshi(), cal(LOG), pop(2), pshi(), cal(SINH), pop(3),
                  pshi(), cal(SIN), pop(4)}},
        CodeCase{"cosh(cos(tanh(tan(x))));",
                 {pshi(), cal(TAN), cal(TANH), cal(COS), cal(COSH), pop(1)}},
        CodeCase{"asin(acos(atan(exp(sqrt(x)))));",
                 {pshi(), cal(SQRT), cal(EXP), cal(ATAN), cal(ACOS), cal(ASIN), pop(1)}},
        // Names and x are case-insensitive; PI is a number.
        CodeCase{"SIN(X); Sin(x); sin(x);",
                 {pshi(), cal(SIN), pop(1), pshi(), cal(SIN), pop(2), pshi(), cal(SIN), pop(3)}},
        CodeCase{
            "Pi; pI*x;",
            {pshn(std::numbers::pi), pop(1), pshn(std::numbers::pi), pshi(), cal(MUL), pop(2)}},
        // Numbers in the forms strtod reads.
        CodeCase{"1.5e-3; .5; 1.; 2E3; 007;",
                 {pshn(1.5e-3), pop(1), pshn(0.5), pop(2), pshn(1.0), pop(3), pshn(2000.0), pop(4),
                  pshn(7.0), pop(5)}},
        // Empty statements take no slot; blanks and control characters are skipped.
        CodeCase{"; x;\r\n;\r\n\t x*\x01x\x7f;",
                 {pshi(), pop(1), pshi(), pshi(), cal(MUL), pop(2)}},
        // A comment runs to the end of the line and swallows the ";" on it.
        CodeCase{"x // f0;\r\n*2;", {pshi(), pshn(2), cal(MUL), pop(1)}},
        // NUL and 0xFF end the input.
        CodeCase{"x;\xffx*x;", {pshi(), pop(1)}}, CodeCase{"", {}}));

TEST_F(ExprTest, NulByteEndsTheInput) {
    EXPECT_EQ(compile(std::string_view("x;\0x*x;", 7)), 0);
    EXPECT_EQ(code(), (Code{pshi(), pop(1)}));
}

TEST_F(ExprTest, ResultSlotsFollowTheNonEmptyStatements) {
    // The driver's join of six formulas where f1 is empty and f2 holds two
    // statements: everything after f1 moves, and one statement is lost.
    ASSERT_EQ(compile("1;\r\n;\r\nx; x*x;\r\n2;\r\n3;\r\n4;\r\n"), 0);
    EXPECT_EQ(code(), (Code{pshn(1), pop(1), pshi(), pop(2), pshi(), pshi(), cal(MUL), pop(3),
                            pshn(2), pop(4), pshn(3), pop(5), pshn(4), pop(6)}));
    EXPECT_EQ(ctx().statementCounter, 7);
}

struct ErrorCase {
    const char* source;
    const char* message;
    int errors;
    int result;
    Code code;
};

class CompilerErrors : public ExprTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(CompilerErrors, ReportsExactLines) {
    const ErrorCase& c = GetParam();
    EXPECT_EQ(compile(c.source), c.result);
    EXPECT_EQ(message(), c.message);
    EXPECT_EQ(ctx().errorCount, c.errors);
    EXPECT_EQ(code(), c.code);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CompilerErrors,
    ::testing::Values(
        ErrorCase{"1 2;", "[syntax error]2;\r\n", 1, 0, {}},
        ErrorCase{"+x;", "[syntax error]+x;\r\n", 1, 0, {}},
        ErrorCase{"sin x;", "[syntax error]x;\r\n", 1, 0, {}},
        ErrorCase{"pow(x,2,3);", "[syntax error],3);\r\n", 1, 0, {}},
        ErrorCase{"0x10;", "[syntax error]x10;\r\n", 1, 0, {}},
        // Recovery resumes after the next ";": the statement after it compiles
        // into slot 1, and a later error is reported again.
        ErrorCase{"1 2 3;\r\nx;\r\n4 5;",
                  "[syntax error]2 3;\r\n[syntax error]5;\r\n",
                  2,
                  0,
                  {pshi(), pop(1)}},
        // The lexer ends the input at a bad character, so nothing after it is read.
        ErrorCase{"x^2;", "[WORD OR CHARACTER INVALID]\r\n[syntax error]^2;\r\n", 2, 1, {}},
        ErrorCase{"x;^", "[WORD OR CHARACTER INVALID]\r\n", 1, 0, {pshi(), pop(1)}},
        ErrorCase{"x; abs(x); x;", "[WORD OR CHARACTER INVALID]\r\n", 1, 0, {pshi(), pop(1)}},
        ErrorCase{"e;", "[WORD OR CHARACTER INVALID]\r\n", 1, 0, {}},
        ErrorCase{"1e;", "[WORD OR CHARACTER INVALID]\r\n[syntax error]e;\r\n", 2, 1, {}},
        ErrorCase{"x.;", "[WORD OR CHARACTER INVALID]\r\n[syntax error].;\r\n", 2, 1, {}},
        ErrorCase{"x\xe3\x81\x82;",
                  "[WORD OR CHARACTER INVALID]\r\n[syntax error]\xe3\x81\x82;\r\n",
                  2,
                  1,
                  {}},
        // A comment that hides the last ";" leaves the program unterminated.
        ErrorCase{"x*x;\r\nx // f5;\r\n",
                  "[syntax error]x // f5;\r\n",
                  1,
                  1,
                  {pshi(), pshi(), cal(MUL), pop(1)}}));

TEST_F(ExprTest, CurrentLineIsCutAt79Characters) {
    const std::string digits(100, '2');
    EXPECT_EQ(compile("1 " + digits + ";\r\nx;"), 0);
    EXPECT_EQ(message(), "[syntax error]" + digits.substr(0, 79) + "\r\n");
    EXPECT_EQ(code(), (Code{pshi(), pop(1)}));
}

TEST_F(ExprTest, SourceIsCutAfter2045Bytes) {
    const std::string pad(kExprSourceTaken - 2, ' ');
    EXPECT_EQ(compile(pad + "x;"), 0);
    EXPECT_EQ(ctx().errorCount, 0);

    EXPECT_EQ(compile(pad + " x;"), 1);
    EXPECT_EQ(message(), "[syntax error]x\r\n");
}

TEST_F(ExprTest, NumbersIgnoreTheProcessLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    const char* found = nullptr;
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE", "fr_FR"}) {
        if ((found = std::setlocale(LC_NUMERIC, name))) break;
    }
    if (!found) {
        GTEST_SKIP() << "no locale with a decimal comma installed";
    }
    const int result = compile("1.5;");
    const Code got = code();
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(result, 0);
    EXPECT_EQ(got, (Code{pshn(1.5), pop(1)}));
}

TEST_F(ExprTest, AtMostFifteenResultStatements) {
    ASSERT_EQ(compile(repeat("x;", 15)), 0);
    EXPECT_EQ(ctx().errorCount, 0);
    EXPECT_EQ(code().back(), pop(15));

    EXPECT_EQ(compile(repeat("x;", 20)), 0);
    EXPECT_EQ(ctx().errorCount, 1);
    EXPECT_EQ(message(), "[too many statements (max 15)]\r\n");
    for (const ExprInstruction& i : code()) {
        if (i.opcode == OP_POP) {
            EXPECT_LE(i.operand, 15);
        }
    }
}

TEST_F(ExprTest, NodeAreaOverflowIsReportedOncePerStatement) {
    // 50 variables and one minus: exactly the 100 nodes that fit.
    ASSERT_EQ(compile("-(" + sumOfX(50) + ");"), 0);
    EXPECT_EQ(ctx().errorCount, 0) << message();
    EXPECT_EQ(ctx().program.count, 101);

    // 101 and 103 nodes; the statement between them still fits.
    EXPECT_EQ(compile(sumOfX(51) + ";x;" + sumOfX(52) + ";"), 0);
    EXPECT_EQ(message(), "[nodearea overflow]\r\n[nodearea overflow]\r\n");
    EXPECT_EQ(ctx().errorCount, 2);
    EXPECT_LE(ctx().nodeCount, kExprMaxNodes);
    EXPECT_LE(ctx().program.count, kExprMaxCode);
    EXPECT_EQ(ctx().statementCounter, 4);
}

TEST_F(ExprTest, CodeAreaOverflowStopsAtTheArea) {
    // Ten statements of 100 instructions and one of 24 fill the area exactly.
    const std::string full = repeat(sumOfX(50) + ";", 10) + sumOfX(12) + ";";
    ASSERT_EQ(compile(full), 0);
    EXPECT_EQ(ctx().errorCount, 0) << message();
    EXPECT_EQ(ctx().program.count, kExprMaxCode);
    EXPECT_EQ(code().back(), pop(11));

    const ExprInstruction last = ctx().program.code.back();
    EXPECT_EQ(compile(full + "x;" + sumOfX(50) + ";"), 0);
    EXPECT_EQ(message(), "[codearea overflow]\r\n");
    EXPECT_EQ(ctx().errorCount, 1);
    EXPECT_EQ(ctx().program.count, kExprMaxCode);
    EXPECT_EQ(ctx().program.code.back(), last);
    EXPECT_EQ(ctx().statementCounter, 14);
    EXPECT_EQ(ctx().slots, (std::array<double, kExprSlots>{}));
}

TEST_F(ExprTest, DeepNestingOverflowsTheParserStack) {
    const auto nested = [](int depth) {
        return repeat("(", depth) + "x" + repeat(")", depth) + ";";
    };
    ASSERT_EQ(compile(nested(150)), 0);
    EXPECT_EQ(code(), (Code{pshi(), pop(1)}));

    EXPECT_EQ(compile(nested(400) + "x;"), 2);
    EXPECT_EQ(message(), "[parser stack overflow]" + std::string(79, '(') + "\r\n");
    EXPECT_EQ(ctx().errorCount, 1);
    EXPECT_EQ(ctx().program.count, 0);
}

TEST_F(ExprTest, MessageTextIsCappedWithTheLastLineCut) {
    // 409 statements each give the 17-byte line "[syntax error]2;\r\n".
    const int statements = kExprSourceTaken / 5;
    ASSERT_EQ(compile(repeat("1 2;\n", statements)), 0);
    EXPECT_EQ(ctx().errorCount, statements);
    const std::string all = repeat("[syntax error]2;\r\n", statements);
    EXPECT_EQ(message(), all.substr(0, kExprTextSize - 1));
    EXPECT_EQ(ctx().message.data[kExprTextSize - 1], '\0');
}

struct AppendCase {
    int prefill;
    const char* line;
    int length;  // after the append
};

class TextAppend : public ::testing::TestWithParam<AppendCase> {};

TEST_P(TextAppend, KeepsTheTextWithinItsBuffer) {
    const AppendCase& c = GetParam();
    ExprText text;
    text.clear();
    text.append(std::string(static_cast<std::size_t>(c.prefill), '.'));
    text.append(c.line);
    EXPECT_EQ(text.length, c.length);
    EXPECT_EQ(text.data[static_cast<std::size_t>(text.length)], '\0');
    const std::string expected = std::string(static_cast<std::size_t>(c.prefill), '.') + c.line;
    EXPECT_EQ(text.view(), expected.substr(0, static_cast<std::size_t>(c.length)));
}

INSTANTIATE_TEST_SUITE_P(Lengths, TextAppend,
                         ::testing::Values(AppendCase{0, "[a]\r\n", 5},
                                           AppendCase{2040, "[abc]\r\n", 2047},  // exact fit
                                           AppendCase{2042, "[abc]\r\n", 2047},  // cut
                                           AppendCase{2047, "[abc]\r\n", 2047},  // full: dropped
                                           AppendCase{5000, "", 2047}));

}  // namespace
}  // namespace qf
