#include "view/tools/graph_rect_tool.h"

#include <algorithm>

#include "common/view_transform.h"
#include "view/tools/hit_boxes.h"

namespace qf {

namespace {

using enum GraphRectHandle;

constexpr int32_t kEdgeGap = 10;  // window pixels an axis edge keeps from the opposite one

// The image pixel under a window point with neither the client nor the image
// test, so that a box around the pointer maps to the pixels it really covers.
IntPoint rawImagePoint(const ViewTransform& view, IntPoint window) {
    const IntPoint logical = windowToLogical(view, window);
    return {scaleToImage(logical.x, view.zoomShift), scaleToImage(logical.y, view.zoomShift)};
}

// An axis edge when the window point lies within kHandleReach window pixels
// of its line, else None. Only one coordinate is compared, so an edge is
// taken anywhere along its line across the image.
GraphRectHandle axisEdgeAt(const ViewState& s, IntPoint q) {
    const IntPoint a = rawImagePoint(s.transform, {q.x - kHandleReach, q.y - kHandleReach});
    const IntPoint b = rawImagePoint(s.transform, {q.x + kHandleReach, q.y + kHandleReach});
    const IntRect& e = s.doc.axis.axisRect;
    if (a.x <= e.left && e.left <= b.x) return AxisLeft;
    if (a.x <= e.right && e.right <= b.x) return AxisRight;
    if (a.y <= e.bottom && e.bottom <= b.y) return AxisBottom;
    if (a.y <= e.top && e.top <= b.y) return AxisTop;
    return None;
}

// The coordinates a handle moves: both of a graph-rectangle corner, one of an
// axis edge (the other is null).
struct HandleCoordinates {
    int32_t* x = nullptr;
    int32_t* y = nullptr;
};

HandleCoordinates coordinatesOf(IntRect& g, IntRect& a, GraphRectHandle handle) {
    switch (handle) {
        case GraphTopLeft:
            return {&g.left, &g.top};
        case GraphTopRight:
            return {&g.right, &g.top};
        case GraphBottomRight:
            return {&g.right, &g.bottom};
        case GraphBottomLeft:
            return {&g.left, &g.bottom};
        case AxisLeft:
            return {&a.left, nullptr};
        case AxisRight:
            return {&a.right, nullptr};
        case AxisBottom:
            return {nullptr, &a.bottom};
        case AxisTop:
            return {nullptr, &a.top};
        case None:
            break;
    }
    return {};
}

// The image pixel a handle stands on; an axis edge's is the point of its
// line on the axis rectangle's left or top edge.
IntPoint handlePoint(const ViewState& s, GraphRectHandle handle) {
    IntRect g = s.doc.mapping.graphRect;
    IntRect a = s.doc.axis.axisRect;
    const HandleCoordinates c = coordinatesOf(g, a, handle);
    return {c.x ? *c.x : a.left, c.y ? *c.y : a.top};
}

GraphRectHandle graphRectHandleAt(const ViewState& s, IntPoint q) {
    if (const GraphRectHandle edge = axisEdgeAt(s, q); edge != None) return edge;
    for (GraphRectHandle corner :
         {GraphTopLeft, GraphTopRight, GraphBottomRight, GraphBottomLeft}) {
        if (containsPoint(handleBox(CellCentreOf(s.transform, handlePoint(s, corner))), q))
            return corner;
    }
    return None;
}

// Moves the handle's coordinates to p's.
void placeHandle(ViewState& s, GraphRectHandle handle, IntPoint p) {
    const HandleCoordinates c = coordinatesOf(s.doc.mapping.graphRect, s.doc.axis.axisRect, handle);
    if (c.x) *c.x = p.x;
    if (c.y) *c.y = p.y;
}

}  // namespace

IntPoint limitedHandlePosition(const ViewState& s, GraphRectHandle handle, IntPoint image) {
    const ViewTransform& t = s.transform;
    const IntSize size = s.imageSize();
    const IntRect& g = s.doc.mapping.graphRect;
    const IntRect& e = s.doc.axis.axisRect;
    const IntPoint a = CellCentreOf(t, {g.left, g.top});
    const IntPoint b = CellCentreOf(t, {g.right, g.top});
    const IntPoint d = CellCentreOf(t, {g.left, g.bottom});
    const IntPoint axisLB = CellCentreOf(t, {e.left, e.bottom});
    const IntPoint axisRT = CellCentreOf(t, {e.right, e.top});
    const IntPoint o = CellCentreOf(t, {0, 0});
    const IntPoint w = CellCentreOf(t, {size.cx - 1, size.cy - 1});
    const int32_t aL = axisLB.x;
    const int32_t aB = axisLB.y;
    const int32_t aR = axisRT.x;
    const int32_t aT = axisRT.y;
    constexpr int32_t gap = kEdgeGap;

    // The graph rectangle stays on the picture and around the axis
    // rectangle; an axis edge may lie on the graph rectangle's border (where
    // a plot's frame is, once the corners are on it) and keeps clear of the
    // opposite edge. min and max are applied in this order, so the last bound
    // wins a conflict.
    IntPoint k = CellCentreOf(t, image);
    switch (handle) {
        case GraphTopLeft:
            k = {std::max(std::min(k.x, aL), o.x), std::max(std::min(k.y, aT), o.y)};
            break;
        case GraphTopRight:
            k = {std::min(std::max(k.x, aR), w.x), std::max(std::min(k.y, aT), o.y)};
            break;
        case GraphBottomRight:
            k = {std::min(std::max(k.x, aR), w.x), std::min(std::max(k.y, aB), w.y)};
            break;
        case GraphBottomLeft:
            k = {std::max(std::min(k.x, aL), o.x), std::min(std::max(k.y, aB), w.y)};
            break;
        case AxisLeft:
            k.x = std::max(std::min(k.x, aR - gap), a.x);
            break;
        case AxisRight:
            k.x = std::min(std::max(k.x, aL + gap), b.x);
            break;
        case AxisBottom:
            k.y = std::min(std::max(k.y, aT + gap), d.y);
            break;
        case AxisTop:
            k.y = std::max(std::min(k.y, aB - gap), a.y);
            break;
        case None:
            return image;
    }
    const ImagePointResult back = ClampedImagePointOf(t, k, size);
    return back.ok ? back.point : image;
}

ToolCursor handleCursor(GraphRectHandle handle) {
    if (handle == AxisLeft || handle == AxisRight) return ToolCursor::VerticalEdge;
    if (handle == AxisBottom || handle == AxisTop) return ToolCursor::HorizontalEdge;
    return ToolCursor::Cross;
}

ToolCursor graphRectHoverCursor(const ViewState& s, IntPoint q) {
    const GraphRectHandle edge = axisEdgeAt(s, q);
    return edge != None ? handleCursor(edge) : ToolCursor::Arrow;
}

void pressGraphRect(ViewState& s, IntPoint q, IntPoint p, ToolResult& r) {
    DragState& d = s.drag;
    d.selectedHandle = graphRectHandleAt(s, q);
    r.cursor = handleCursor(d.selectedHandle);
    if (d.selectedHandle == None) return;
    d.lastHandle = d.selectedHandle;
    d.dragStart = p;
    d.dragPending = true;
    d.dragActive = true;
}

void releaseGraphRect(ViewState& s, bool moved, ToolResult& r) {
    if (!moved || s.drag.selectedHandle == None) return;
    placeHandle(s, s.drag.selectedHandle, s.drag.dragCurrent);
    r.pane.refreshAll = true;
}

bool nudgeGraphRect(ViewState& s, int32_t dx, int32_t dy, ToolResult& r) {
    const GraphRectHandle handle = s.drag.lastHandle;
    if (handle == None) return false;
    const IntPoint from = handlePoint(s, handle);
    // The drag's own limits: inside the picture, the axis rectangle inside
    // the graph rectangle, each axis edge clear of the opposite one. The gap counted in
    // picture pixels, whatever the zoom (at a reduced zoom a one-pixel step
    // would round away).
    ViewState unzoomed = s;
    unzoomed.transform = ViewTransform{};
    const IntPoint to = limitedHandlePosition(unzoomed, handle, {from.x + dx, from.y + dy});
    const IntRect before = s.doc.mapping.graphRect;
    const IntRect axisBefore = s.doc.axis.axisRect;
    placeHandle(s, handle, to);
    if (s.doc.mapping.graphRect == before && s.doc.axis.axisRect == axisBefore) return false;
    r.pane.refreshAll = true;
    return true;
}

}  // namespace qf
