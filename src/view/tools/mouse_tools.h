#pragma once
// The mouse rules of the image view: the left-button tools (mapping corners,
// graph rectangle and axis edges, add points, erase points, extract a curve), the
// right-button pan, the wheel zoom and the zoom commands. Each handler edits
// the ViewState and returns what the widget has to do about it, so the
// widget's event handlers stay a few lines and the rules are tested without
// a window. All points are window (viewport) coordinates unless named image.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/geometry.h"
#include "common/view_transform.h"
#include "view/view_state.h"

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

enum class MouseCapture { Keep, Grab, Release };

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
    MouseCapture capture = MouseCapture::Keep;
    ToolCursor cursor = ToolCursor::Unchanged;
    bool takeFocus = false;
    bool repaintAll = false;
    std::vector<IntRect> repaintRects;  // window; only meaningful without repaintAll
    bool scrolled = false;              // transform.scrollPos changed: move the scroll bars to it
    bool zoomed = false;  // zoom and scroll sizes changed: reset the scroll bar ranges
    PaneOps pane;
    // The extraction tool was clicked on this image pixel: the widget runs
    // the extraction (it may take a moment and may have to say why nothing
    // was found).
    std::optional<IntPoint> extractAt;
};

// The tool the left button works with now: its flag is set and the display
// source is the one it needs.
enum class ActiveTool { None, Corners, GraphRect, AddPoints, ErasePoints, Extract };
ActiveTool activeTool(const ViewState& s);

// The arrow keys: moves by (dx, dy) image pixels the selected point (with
// either point tool), the corner last grabbed (corner tool) or the
// graph-rectangle corner or axis edge last grabbed (graph-rectangle tool),
// within the limits a drag keeps. Nothing while a drag is under way, or
// when there is nothing to move or it cannot go further; a result without
// repaintAll means nothing moved.
ToolResult nudge(ViewState& s, int32_t dx, int32_t dy);

// Half-open box of 10 x 10 window pixels around a corner's cell centre.
IntRect handleBox(IntPoint centre);
// A source point's cell, widened to 10 window pixels around its centre on an
// axis where the cell is smaller.
IntRect hitBoxOf(const ViewTransform& view, SourcePoint p);

// Handles of the graph-rectangle tool: 1..4 the graph rectangle's corners
// (top-left, top-right, bottom-right, bottom-left), 5..8 the axis rectangle's
// left, right, bottom and top edges; 0 none.
int32_t graphRectHandleAt(const ViewState& s, IntPoint window);
// 5..8 when window lies within 5 window pixels of an axis edge's line, else 0.
int32_t axisEdgeAt(const ViewState& s, IntPoint window);

// Where a graph-rectangle handle goes when the pointer is over image pixel
// k: kept 10 window pixels away from the neighbouring edges, the window's
// top-left and the image's last row and column.
IntPoint limitedHandlePosition(const ViewState& s, int32_t handle, IntPoint image);

ToolResult leftButtonDown(ViewState& s, IntPoint window, IntSize client);
ToolResult mouseMove(ViewState& s, IntPoint window, MouseButtons held, IntSize client);
ToolResult leftButtonUp(ViewState& s, IntPoint window, IntSize client);
ToolResult rightButtonDown(ViewState& s, IntPoint window, IntSize client);
ToolResult rightButtonUp(ViewState& s, IntPoint window, IntSize client);
// delta as the wheel reports it: above 0 zooms in, below 0 out, 0 nothing.
ToolResult wheelZoom(ViewState& s, IntPoint window, int32_t delta, IntSize client);
ToolResult zoomIn(ViewState& s, IntSize client);
ToolResult zoomOut(ViewState& s, IntSize client);
// The largest zoom step at which the whole picture fits the client (the
// smallest step when none does), scrolled to its top-left corner.
ToolResult zoomToFit(ViewState& s, IntSize client);

// What the status bar says of the pointer at a window position: the image
// pixel under it with the calibrated X and Y (and the axes' scales), and the
// zoom; only the zoom when the pointer is off the picture (or outside the
// view: pass no position).
std::string pointerStatusText(const ViewState& s, std::optional<IntPoint> window, IntSize client);

// The scroll range on each axis: the zoomed image beyond the client, at least 0.
IntSize scrollLimit(const ViewTransform& view, IntSize client);
// Clamps the scroll position into 0..scrollLimit; true when it moved.
bool clampScroll(ViewTransform& view, IntSize client);

// The rubber band of the drag in progress, as polylines in window
// coordinates (closed ones repeat their first point); empty when no band is
// shown. Drawn with a pen kBandPenWidth wide.
inline constexpr int32_t kBandPenWidth = 2;
std::vector<std::vector<IntPoint>> rubberBandLines(const ViewState& s);
// The window area the band covers, pen included; empty without a band.
IntRect rubberBandArea(const ViewState& s);

}  // namespace qf
