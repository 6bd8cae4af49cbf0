#pragma once
// What a mouse tool hands back to the widget: the cursor, the capture, what
// to repaint, whether the scroll bars moved and what the point list has to
// do. The tools edit the ViewState themselves; this is the rest.

#include <cstdint>
#include <optional>
#include <vector>

#include "common/geometry.h"

namespace qf {

enum class ToolCursor {
    Unchanged,       // leave the cursor as it is
    Arrow,           // the view's default
    Cross,           // dragging a corner, a handle or an erase region
    Add,             // add-points tool
    Erase,           // erase-points tool
    VerticalEdge,    // over or dragging the axis rectangle's left or right edge
    HorizontalEdge,  // over or dragging its bottom or top edge
    Pan,             // right-button panning
};

// Buttons held during a mouse move.
struct MouseButtons {
    bool left = false;
    bool right = false;
};

// What the source-point list has to do, in this order: removals, then the
// added or selected row, then scrolling, then the full rebuild.
struct PaneOps {
    // Rows to delete one after another, each index as the list stood at
    // that moment (the point list has already been changed the same way).
    std::vector<int32_t> removedRows;
    // Row inserted from points.points[addedRow]: bring the points tab to
    // the front, insert it, scroll to it and select it.
    int32_t addedRow = -1;
    int32_t selectRow = -1;         // existing row to select and scroll to
    int32_t ensureVisibleRow = -1;  // clamp to the rows left; may be past the end
    bool refreshAll = false;        // rebuild every row (values changed)
};

struct ToolResult {
    ToolCursor cursor = ToolCursor::Unchanged;
    bool takeFocus = false;
    bool repaintAll = false;
    std::vector<IntRect> repaintRects;  // window; only meaningful without repaintAll
    bool scrolled = false;              // transform.scrollPos changed: move the scroll bars to it
    bool zoomed = false;  // zoom and scroll sizes changed: reset the scroll bar ranges
    PaneOps pane;
    // The extraction or tick tool was clicked on this image pixel: the widget
    // does the tool's work (an extraction may take a moment and may have to
    // say why nothing was found; a tick asks for its value).
    std::optional<IntPoint> clickedAt;
};

}  // namespace qf
