#pragma once
// The graph-rectangle tool, on the processed picture: drags the graph
// rectangle's corners and the axis rectangle's edges. Each stays 10 window
// pixels clear of its neighbours, of the window's top-left and of the
// picture's last row and column, on every move. Window points are viewport
// coordinates, image points pixels of the picture.

#include <cstdint>

#include "common/geometry.h"
#include "view/tools/tool_result.h"
#include "view/view_state.h"

namespace qf {

// Where a handle goes when the pointer is over image pixel k: kept 10 window
// pixels away from the neighbouring edges, the window's top-left and the
// image's last row and column.
IntPoint limitedHandlePosition(const ViewState& s, GraphRectHandle handle, IntPoint image);

// The cursor over or while dragging a handle.
ToolCursor handleCursor(GraphRectHandle handle);
// The cursor with no button held: an axis edge's under the pointer, else the
// arrow (a corner shows none of its own).
ToolCursor graphRectHoverCursor(const ViewState& s, IntPoint window);

// Grabs the handle under the window point; an axis edge is taken anywhere
// along its line and wins over a graph-rectangle corner near it.
void pressGraphRect(ViewState& s, IntPoint window, IntPoint image, ToolResult& r);
// Puts the grabbed handle where the drag ended; nothing when it did not move.
void releaseGraphRect(ViewState& s, bool moved, ToolResult& r);
// Moves the handle last grabbed by (dx, dy) image pixels within the limits a
// drag keeps; false when there is none or it cannot go further.
bool nudgeGraphRect(ViewState& s, int32_t dx, int32_t dy, ToolResult& r);

}  // namespace qf
