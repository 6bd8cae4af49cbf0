#pragma once
// Zoom, panning and scrolling: the wheel and the zoom commands step the
// zoom, the right button drags the picture. Window points are viewport
// coordinates.

#include <cstdint>

#include "common/geometry.h"
#include "common/view_transform.h"
#include "view/tools/tool_result.h"
#include "view/view_state.h"

namespace qf {

// A move with the right button held: the picture follows the pointer from
// the pan anchor the press set.
ToolResult panTo(ViewState& s, IntPoint window, IntSize client);

// delta as the wheel reports it: above 0 zooms in, below 0 out, 0 nothing.
ToolResult wheelZoom(ViewState& s, IntPoint window, int32_t delta, IntSize client);
ToolResult zoomIn(ViewState& s, IntSize client);
ToolResult zoomOut(ViewState& s, IntSize client);
// The largest zoom step at which the whole picture fits the client (the
// smallest step when none does), scrolled to its top-left corner.
ToolResult zoomToFit(ViewState& s, IntSize client);

// The scroll range on each axis: the zoomed image beyond the client, at least 0.
IntSize scrollLimit(const ViewTransform& view, IntSize client);
// Clamps the scroll position into 0..scrollLimit; true when it moved.
bool clampScroll(ViewTransform& view, IntSize client);

}  // namespace qf
