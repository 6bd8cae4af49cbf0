#pragma once
// The mouse rules of the image view: the left button goes to the active tool
// (corner_tool, graph_rect_tool, point_tools, extract_tool), the right
// button pans and the wheel zooms (zoom_pan). Each handler edits the
// ViewState and returns what the widget has to do about it, so the widget's
// event handlers stay a few lines and the rules are tested without a window.
// All points are window (viewport) coordinates unless named image.

#include <cstdint>
#include <optional>
#include <string>

#include "common/geometry.h"
#include "view/tools/tool_result.h"
#include "view/tools/zoom_pan.h"
#include "view/view_state.h"

namespace qf {

ToolResult leftButtonDown(ViewState& s, IntPoint window, IntSize client);
ToolResult mouseMove(ViewState& s, IntPoint window, MouseButtons held, IntSize client);
ToolResult leftButtonUp(ViewState& s, IntPoint window, IntSize client);
ToolResult rightButtonDown(ViewState& s, IntPoint window, IntSize client);
ToolResult rightButtonUp(ViewState& s, IntPoint window, IntSize client);

// The arrow keys: moves by (dx, dy) image pixels the selected point (with
// either point tool), the corner last grabbed (corner tool) or the
// graph-rectangle corner or axis edge last grabbed (graph-rectangle tool),
// within the limits a drag keeps. Nothing while a drag is under way, or
// when there is nothing to move or it cannot go further; a result without
// repaintAll means nothing moved.
ToolResult nudge(ViewState& s, int32_t dx, int32_t dy);

// What the status bar says of the pointer at a window position: the image
// pixel under it with the calibrated X and Y (and the axes' scales), and the
// zoom; only the zoom when the pointer is off the picture (or outside the
// view: pass no position).
std::string pointerStatusText(const ViewState& s, std::optional<IntPoint> window, IntSize client);

}  // namespace qf
