#include "view/tools/mouse_tools.h"

#include <cmath>
#include <cstdio>

#include "common/date_axis.h"
#include "common/translate.h"
#include "points/calibration.h"
#include "view/paint/band_geometry.h"
#include "view/tools/corner_tool.h"
#include "view/tools/extract_tool.h"
#include "view/tools/graph_rect_tool.h"
#include "view/tools/point_tools.h"

namespace qf {

namespace {

bool insideClient(IntPoint q, IntSize client) {
    return containsPoint({0, 0, client.cx, client.cy}, q);
}

// The cursor for a pointer over the view with no button gesture going on.
ToolCursor hoverCursor(const ViewState& s, IntPoint q) {
    switch (activeTool(s)) {
        case Tool::GraphRect:
            return graphRectHoverCursor(s, q);
        case Tool::AddPoints:
        case Tool::Extract:
        case Tool::Ticks:
            return ToolCursor::Add;
        case Tool::ErasePoints:
            return ToolCursor::Erase;
        default:
            return ToolCursor::Arrow;
    }
}

std::string zoomText(int32_t shift) {
    // 2^shift as a percentage: 6400 % down to 6.25 %.
    const double percent = std::ldexp(100.0, shift);
    char text[32];
    std::snprintf(text, sizeof text, "%g%%", percent);
    return substitute(translate("qf::Messages", "倍率 %1"), {text});
}

std::string axisValueText(const char* name, std::optional<double> value, bool log, bool time) {
    return std::string(name) + " " + (value ? formatAxisValue(*value, time) : formatValue(value)) +
           (log ? translate("qf::Messages", " (対数)") : std::string());
}

}  // namespace

ToolResult leftButtonDown(ViewState& s, IntPoint q, IntSize client) {
    ToolResult r;
    s.drag.leftDownPoint = q;
    if (!insideClient(q, client)) return r;
    r.takeFocus = true;
    if (!s.imagePresent()) return r;
    const ImagePointResult p = ImagePointOf(s.transform, q, client, s.imageSize());
    if (!p.ok) return r;
    switch (activeTool(s)) {
        case Tool::Corners:
            pressCorner(s, q, p.point, r);
            break;
        case Tool::GraphRect:
            pressGraphRect(s, q, p.point, r);
            break;
        case Tool::AddPoints:
            pressAdd(s, q, p.point, r);
            break;
        case Tool::ErasePoints:
            pressErase(s, q, p.point, r);
            break;
        case Tool::Extract:  // on the release: a click is a press and a release
        case Tool::Ticks:
        case Tool::None:
            break;
    }
    return r;
}

ToolResult mouseMove(ViewState& s, IntPoint q, MouseButtons held, IntSize client) {
    ToolResult r;
    if (!s.imagePresent()) return r;
    if (insideClient(q, client)) {
        if (held.right) {
            r = panTo(s, q, client);
        } else {
            r.cursor = hoverCursor(s, q);
        }
    }

    // The drag follows the pointer also outside the client: the mouse is held.
    DragState& d = s.drag;
    if (d.dragActive) {
        if (bandShown(d)) r.repaintRects.push_back(rubberBandArea(s));
        const IntPoint k = ClampedImagePointOf(s.transform, q, s.imageSize()).point;
        IntPoint next = k;
        r.cursor = ToolCursor::Cross;
        if (activeTool(s) == Tool::GraphRect && d.selectedHandle != GraphRectHandle::None) {
            // Limits apply from the first move on, so no quick flick of the
            // pointer can push an edge past its neighbours.
            next = limitedHandlePosition(s, d.selectedHandle, k);
            r.cursor = handleCursor(d.selectedHandle);
        }
        d.dragPending = false;
        d.rubberBand = SpanRectOf(s.transform, d.dragStart, k);
        d.dragCurrent = next;
        const IntRect area = rubberBandArea(s);
        if (area.width() > 0 && area.height() > 0) r.repaintRects.push_back(area);
    }
    return r;
}

ToolResult leftButtonUp(ViewState& s, IntPoint q, IntSize client) {
    ToolResult r;
    r.repaintAll = true;
    DragState& d = s.drag;
    const bool pressed = d.leftDownPoint != IntPoint{-1, -1};
    d.leftDownPoint = {-1, -1};
    const bool moved = d.dragActive && !d.dragPending;
    switch (activeTool(s)) {
        case Tool::Extract:
        case Tool::Ticks:
            if (pressed) releaseClick(s, q, client, r);
            break;
        case Tool::Corners:
            releaseCorner(s, moved);
            break;
        case Tool::GraphRect:
            releaseGraphRect(s, moved, r);
            break;
        case Tool::ErasePoints:
            if (moved && s.pointCount() > 0) releaseErase(s, r);
            break;
        default:
            break;
    }
    d.dragStart = {0, 0};
    d.dragCurrent = {0, 0};
    d.dragPending = false;
    d.dragActive = false;
    if (s.imagePresent() && insideClient(q, client)) r.cursor = hoverCursor(s, q);
    return r;
}

ToolResult rightButtonDown(ViewState& s, IntPoint q, IntSize /*client*/) {
    ToolResult r;
    s.transform.panAnchor = q;
    if (s.imagePresent()) r.cursor = ToolCursor::Pan;
    r.takeFocus = true;
    // Cancels a left drag; its band goes with it.
    if (bandShown(s.drag)) r.repaintRects.push_back(rubberBandArea(s));
    s.drag.dragPending = false;
    s.drag.dragActive = false;
    return r;
}

ToolResult rightButtonUp(ViewState& s, IntPoint q, IntSize client) {
    ToolResult r;
    s.transform.panAnchor = {-1, -1};
    r.repaintAll = true;
    r.cursor = s.imagePresent() && insideClient(q, client) ? hoverCursor(s, q) : ToolCursor::Arrow;
    return r;
}

ToolResult nudge(ViewState& s, int32_t dx, int32_t dy) {
    ToolResult r;
    if (s.drag.dragActive || !s.imagePresent()) return r;
    switch (activeTool(s)) {
        case Tool::AddPoints:
        case Tool::ErasePoints:
            r.repaintAll = nudgePoint(s, dx, dy, r);
            break;
        case Tool::Corners:
            r.repaintAll = nudgeCorner(s, dx, dy);
            break;
        case Tool::GraphRect:
            r.repaintAll = nudgeGraphRect(s, dx, dy, r);
            break;
        case Tool::Extract:
        case Tool::Ticks:
        case Tool::None:
            break;
    }
    return r;
}

std::string pointerStatusText(const ViewState& s, std::optional<IntPoint> window, IntSize client) {
    const std::string zoom = zoomText(s.transform.zoomShift);
    if (!window || !s.imagePresent()) return zoom;
    const ImagePointResult p = ImagePointOf(s.transform, *window, client, s.imageSize());
    if (!p.ok) return zoom;
    const IntPoint q = p.point;
    return "(" + std::to_string(q.x) + ", " + std::to_string(q.y) + ")   " +
           axisValueText("X", calibrateX(s.doc.axis, q.x), s.doc.axis.xLog, s.doc.axis.xTime) +
           "   " +
           axisValueText("Y", calibrateY(s.doc.axis, q.y), s.doc.axis.yLog, s.doc.axis.yTime) +
           "   " + zoom;
}

}  // namespace qf
