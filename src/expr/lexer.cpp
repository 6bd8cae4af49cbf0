// The formula lexer: one token per call, names matched case-insensitively.

#include <locale.h>  // newlocale
#include <stdlib.h>  // strtod_l

#include <array>
#include <cstring>
#include <numbers>
#include <string_view>

#include "compiler_internal.h"
#include "expr/expr.h"
#include "grammar.h"

namespace {

using qf::ExprContext;
using qf::kExprSourceSize;

constexpr int kLookahead = 10;

struct Word {
    std::string_view text;
    int token;
    int32_t code;
};

// Longer names first, so that LOG10 is not read as LOG and SINH not as SIN.
constexpr std::array kWords = {
    Word{"LOG10", TOK_FUNC1, qf::LOG10}, Word{"SINH", TOK_FUNC1, qf::SINH},
    Word{"COSH", TOK_FUNC1, qf::COSH},   Word{"TANH", TOK_FUNC1, qf::TANH},
    Word{"SQRT", TOK_FUNC1, qf::SQRT},   Word{"ASIN", TOK_FUNC1, qf::ASIN},
    Word{"ACOS", TOK_FUNC1, qf::ACOS},   Word{"ATAN", TOK_FUNC1, qf::ATAN},
    Word{"SIN", TOK_FUNC1, qf::SIN},     Word{"COS", TOK_FUNC1, qf::COS},
    Word{"TAN", TOK_FUNC1, qf::TAN},     Word{"EXP", TOK_FUNC1, qf::EXP},
    Word{"LOG", TOK_FUNC1, qf::LOG},     Word{"POW", TOK_POWF, qf::POW},
};

// A byte that ends the program text wherever it stands.
bool endsInput(unsigned char c) {
    return c == '\0' || c == 0xFF;
}

bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

// Blanks and control characters; bytes above 0x7F are not skipped but
// rejected as invalid, whatever the locale thinks of them.
bool isSkipped(unsigned char c) {
    return c <= ' ' || c == 0x7F;
}

unsigned char at(const ExprContext& ctx, int32_t pos) {
    return pos < kExprSourceSize ? static_cast<unsigned char>(ctx.source[pos]) : 0;
}

// Skips blanks and "//" comments. Returns false at the end of the input.
bool skipToToken(ExprContext& ctx) {
    for (;;) {
        unsigned char c = at(ctx, ctx.sourcePos);
        if (endsInput(c)) return false;
        if (isSkipped(c)) {
            ++ctx.sourcePos;
            continue;
        }
        if (c != '/' || at(ctx, ctx.sourcePos + 1) != '/') return true;
        ctx.sourcePos += 2;
        for (;;) {
            c = at(ctx, ctx.sourcePos);
            if (endsInput(c)) return false;
            ++ctx.sourcePos;
            if (c == '\r' || c == '\n') break;
        }
    }
}

// Keeps the rest of the line from the token on, for the error messages.
void copyCurrentLine(ExprContext& ctx) {
    int n = 0;
    for (; n < qf::kExprLineSize - 1; ++n) {
        const unsigned char c = at(ctx, ctx.sourcePos + n);
        if (endsInput(c) || c == '\r' || c == '\n') break;
        ctx.currentLine[n] = static_cast<char>(c);
    }
    ctx.currentLine[n] = '\0';
}

// Length of the decimal number at `pos` in the syntax strtod accepts:
// digits, an optional fraction, and an exponent only when digits follow it.
// Hexadecimal forms are deliberately not recognised: "0x10" is 0, x, 10.
int32_t decimalLength(const ExprContext& ctx, int32_t pos) {
    int32_t end = pos;
    while (isDigit(at(ctx, end))) ++end;
    if (at(ctx, end) == '.') {
        ++end;
        while (isDigit(at(ctx, end))) ++end;
    }
    const unsigned char e = at(ctx, end);
    if (e == 'e' || e == 'E') {
        int32_t exp = end + 1;
        if (at(ctx, exp) == '+' || at(ctx, exp) == '-') ++exp;
        if (isDigit(at(ctx, exp))) {
            while (isDigit(at(ctx, exp))) ++exp;
            end = exp;
        }
    }
    return end - pos;
}

// strtod in the "C" locale whatever the process locale, so "." is always the
// decimal point. The text is copied so strtod cannot read beyond the scan.
double readNumber(const ExprContext& ctx, int32_t pos, int32_t len) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    std::array<char, kExprSourceSize + 1> text;
    std::memcpy(text.data(), ctx.source.data() + pos, static_cast<std::size_t>(len));
    text[static_cast<std::size_t>(len)] = '\0';
    return cLocale ? strtod_l(text.data(), nullptr, cLocale) : strtod(text.data(), nullptr);
}

int singleCharToken(unsigned char c) {
    switch (c) {
        case '+':
        case '-':
        case '*':
        case '/':
        case '(':
        case ')':
        case ',':
        case ';':
            return c;
        default:
            return 0;
    }
}

}  // namespace

int qfexpr_lex(QFEXPR_STYPE* value) {
    ExprContext& ctx = qf::exprContext();
    if (!skipToToken(ctx)) return TOK_YYEOF;
    copyCurrentLine(ctx);

    std::array<char, kLookahead> upper{};
    for (int i = 0; i < kLookahead; ++i) {
        const unsigned char c = at(ctx, ctx.sourcePos + i);
        upper[i] = static_cast<char>(c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c);
    }
    const std::string_view ahead(upper.data(), upper.size());

    for (const Word& w : kWords) {
        if (ahead.starts_with(w.text)) {
            ctx.sourcePos += static_cast<int32_t>(w.text.size());
            value->code = w.code;
            return w.token;
        }
    }
    if (ahead.starts_with("PI")) {
        ctx.sourcePos += 2;
        value->number = std::numbers::pi;
        return TOK_NUMBER;
    }
    if (ahead.starts_with("**")) {
        ctx.sourcePos += 2;
        return TOK_POWER;
    }
    const auto c = static_cast<unsigned char>(upper[0]);
    if (const int token = singleCharToken(c)) {
        ++ctx.sourcePos;
        return token;
    }
    if (c == 'X') {
        ++ctx.sourcePos;
        return TOK_VARX;
    }
    if (isDigit(c) || (c == '.' && isDigit(static_cast<unsigned char>(upper[1])))) {
        const int32_t len = decimalLength(ctx, ctx.sourcePos);
        value->number = readNumber(ctx, ctx.sourcePos, len);
        ctx.sourcePos += len;
        return TOK_NUMBER;
    }
    qf::detail::reportError("WORD OR CHARACTER INVALID");
    // Nothing after the bad character is read, even if the parser asks again.
    ctx.sourcePos = kExprSourceSize;
    return TOK_YYEOF;
}
