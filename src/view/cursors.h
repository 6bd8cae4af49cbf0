#pragma once
// The view's own cursors: monochrome bitmaps drawn in code, black lines with
// a white outline so that they show on dark and light pictures alike.

#include <QCursor>

#include "view/tools/tool_result.h"

namespace qf {

// Every drawn cursor is this many pixels square.
inline constexpr int kToolCursorSize = 32;

// The cursor for a tool state. Arrow and Unchanged give the platform's arrow;
// the others are bitmap cursors whose hot spot is the pixel in the middle of
// the figure, (15, 15). Built once and shared.
QCursor toolCursor(ToolCursor c);

}  // namespace qf
