#pragma once
// Glue between the parts of the formula engine.

#include <cstdint>
#include <string_view>

#include "expr/expr.h"

namespace qf::detail {

// The engine state behind exprContext(), for the machine's direct use.
// constinit here too: other units then reach it directly, without a wrapper call.
extern thread_local constinit ExprContext g_context;

// Counts one problem and appends "[what]\r\n" to the message text.
void reportError(std::string_view what);

// Counts one problem and appends "[what]<current line>\r\n" to the message text.
void reportErrorWithLine(std::string_view what);

// Clears the once-per-compile and once-per-statement overflow notes.
void beginCompile();

// New tree nodes; -1 when the node area is full (reported once per statement).
int32_t makeNode(int32_t kind, int32_t left, int32_t right);
int32_t makeVariable();
int32_t makeNumber(double value);

// A statement with its tree rooted at `root` is complete: emit its code and
// the store into the next result slot, then free the node area.
void completeStatement(int32_t root);

// Frees the node area after a statement that was dropped by error recovery.
void discardStatement();

}  // namespace qf::detail
