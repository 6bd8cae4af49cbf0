#include <algorithm>
#include <cstring>

#include "compiler_internal.h"
#include "expr/expr.h"

namespace qf {

// Constant-initialised, so it is usable before main and from any translation
// unit. One per thread: the batch mode fits several projects at once, each on
// its own thread; the window uses only its own.
constinit thread_local ExprContext detail::g_context{};

ExprContext& exprContext() {
    return detail::g_context;
}

void ExprText::clear() {
    length = 0;
    data[0] = '\0';
}

void ExprText::append(std::string_view line) {
    // The buffer is full once the text and its NUL fill it; a line that would
    // overrun is cut so the text stays NUL-terminated within the buffer.
    const int32_t room = kExprTextSize - 1 - length;
    if (room <= 0) return;
    const auto n = static_cast<int32_t>(std::min<std::size_t>(line.size(), room));
    std::memcpy(data.data() + length, line.data(), static_cast<std::size_t>(n));
    length += n;
    data[length] = '\0';
}

void loadExprSource(std::string_view text) {
    ExprContext& ctx = detail::g_context;
    const std::size_t n = std::min<std::size_t>(text.size(), kExprSourceTaken);
    std::memcpy(ctx.source.data(), text.data(), n);
    std::fill(ctx.source.begin() + static_cast<std::ptrdiff_t>(n), ctx.source.end(), '\0');
    ctx.sourcePos = 0;
    ctx.message.clear();
    ctx.runtime.clear();
    ctx.currentLine[0] = '\0';
    ctx.errorCount = 0;
    ctx.statementCounter = 1;
    ctx.nodeCount = 0;
    ctx.program.count = 0;
}

namespace detail {

void reportError(std::string_view what) {
    ExprContext& ctx = detail::g_context;
    ++ctx.errorCount;
    ctx.message.append("[");
    ctx.message.append(what);
    ctx.message.append("]\r\n");
}

void reportErrorWithLine(std::string_view what) {
    ExprContext& ctx = detail::g_context;
    ++ctx.errorCount;
    const char* line = ctx.currentLine.data();
    ctx.message.append("[");
    ctx.message.append(what);
    ctx.message.append("]");
    ctx.message.append({line, strnlen(line, kExprLineSize - 1)});
    ctx.message.append("\r\n");
}

}  // namespace detail
}  // namespace qf
