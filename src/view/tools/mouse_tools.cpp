#include "view/tools/mouse_tools.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "common/translate.h"
#include "imaging/mapping.h"
#include "points/calibration.h"

namespace qf {

namespace {

constexpr int32_t kHandleReach = 5;  // window pixels either side of a handle
constexpr int32_t kHitSize = 10;     // smallest hit box of a point, window pixels
constexpr int32_t kEdgeGap = 10;     // window pixels a dragged handle keeps from its limits

bool insideClient(IntPoint q, IntSize client) {
    return containsPoint({0, 0, client.cx, client.cy}, q);
}

// The image pixel under a window point with neither the client nor the image
// test, so that a box around the pointer maps to the pixels it really covers.
IntPoint rawImagePoint(const ViewTransform& view, IntPoint window) {
    const IntPoint logical = windowToLogical(view, window);
    return {scaleToImage(logical.x, view.zoomShift), scaleToImage(logical.y, view.zoomShift)};
}

// The image without its outermost rows and columns.
bool insideInnerArea(IntPoint p, IntSize image) {
    return 0 < p.x && p.x < image.cx - 1 && 0 < p.y && p.y < image.cy - 1;
}

bool bandShown(const DragState& d) {
    return d.dragActive && !d.dragPending;
}

bool validCorner(int32_t selected) {
    return selected >= 1 && selected <= 4;
}

bool validHandle(int32_t handle) {
    return handle >= 1 && handle <= 8;
}

ToolCursor edgeCursor(int32_t handle) {
    if (handle == 5 || handle == 6) return ToolCursor::VerticalEdge;
    if (handle == 7 || handle == 8) return ToolCursor::HorizontalEdge;
    return ToolCursor::Cross;
}

// The cursor for a pointer over the view with no button gesture going on.
ToolCursor hoverCursor(const ViewState& s, IntPoint q) {
    switch (activeTool(s)) {
        case ActiveTool::GraphRect: {
            const int32_t edge = axisEdgeAt(s, q);
            return edge != 0 ? edgeCursor(edge) : ToolCursor::Arrow;
        }
        case ActiveTool::AddPoints:
        case ActiveTool::Extract:
            return ToolCursor::Add;
        case ActiveTool::ErasePoints:
            return ToolCursor::Erase;
        default:
            return ToolCursor::Arrow;
    }
}

void applyScrollSizes(ViewState& s) {
    const IntSize image = s.imageSize();
    if (image.cx == 0 || image.cy == 0) return;
    const ScrollSizes sizes = scrollSizesFor(s.transform.zoomShift, image);
    s.transform.displaySize = sizes.total;
    s.transform.cellSize = sizes.cell;
}

ToolResult zoomTo(ViewState& s, int32_t zoomShift, IntSize client) {
    ToolResult r;
    if (!s.imagePresent()) return r;
    zoomShift = std::clamp(zoomShift, kMinZoomShift, kMaxZoomShift);
    if (zoomShift == s.transform.zoomShift) return r;
    s.transform.zoomShift = zoomShift;
    applyScrollSizes(s);
    r.scrolled = clampScroll(s.transform, client);
    r.zoomed = true;
    r.repaintAll = true;
    return r;
}

void closePolyline(std::vector<IntPoint>& line) {
    if (!line.empty()) line.push_back(line.front());
}

std::vector<std::vector<IntPoint>> cornerBand(const ViewState& s) {
    const ViewTransform& t = s.transform;
    Quad corners = s.mapping.geometry.corners;
    corners[s.drag.selectedCorner - 1] = s.drag.dragCurrent;
    std::vector<std::vector<IntPoint>> lines(1);
    for (const IntPoint& c : corners) lines[0].push_back(CellCentreOf(t, c));
    closePolyline(lines[0]);

    const IntRect& g = s.mapping.geometry.graphRect;
    if (g.width() != 0 && g.height() != 0) {
        const std::optional<Quad> guide =
            computeInnerQuad(corners, 40.0 / g.width(), 40.0 / g.height(), s.mapping.geometry.method);
        if (guide) {
            std::vector<IntPoint>& line = lines.emplace_back();
            for (const IntPoint& c : *guide) line.push_back(CellCentreOf(t, c));
            closePolyline(line);
        }
    }
    return lines;
}

std::vector<std::vector<IntPoint>> graphRectBand(const ViewState& s) {
    const ViewTransform& t = s.transform;
    const IntRect& g = s.mapping.geometry.graphRect;
    const IntPoint a = CellCentreOf(t, {g.left, g.top});
    const IntPoint b = CellCentreOf(t, {g.right, g.top});
    const IntPoint c = CellCentreOf(t, {g.right, g.bottom});
    const IntPoint d = CellCentreOf(t, {g.left, g.bottom});
    const IntPoint k = CellCentreOf(t, s.drag.dragCurrent);
    switch (s.drag.selectedHandle) {
        case 1:
            return {{k, {b.x, k.y}, c, {k.x, d.y}, k}};
        case 2:
            return {{k, {a.x, k.y}, d, {k.x, c.y}, k}};
        case 3:
            return {{k, {d.x, k.y}, a, {k.x, b.y}, k}};
        case 4:
            return {{k, {c.x, k.y}, b, {k.x, a.y}, k}};
        case 5:
        case 6:
            return {{{k.x, a.y}, {k.x, d.y}}};
        case 7:
        case 8:
            return {{{a.x, k.y}, {b.x, k.y}}};
        default:
            return {};
    }
}

std::vector<std::vector<IntPoint>> eraseBand(const ViewState& s) {
    const IntRect r = SpanRectOf(s.transform, s.drag.dragStart, s.drag.dragCurrent);
    return {{{r.left, r.top},
             {r.right, r.top},
             {r.right, r.bottom},
             {r.left, r.bottom},
             {r.left, r.top}}};
}

void pressCorner(ViewState& s, IntPoint q, IntPoint p, ToolResult& r) {
    r.cursor = ToolCursor::Cross;
    DragState& d = s.drag;
    d.selectedCorner = 0;
    Quad& corners = s.mapping.geometry.corners;
    for (int32_t i = 0; i < 4; ++i) {
        if (containsPoint(handleBox(CellCentreOf(s.transform, corners[i])), q)) {
            d.selectedCorner = i + 1;
            break;
        }
    }
    // A press on nothing starts no drag: the release would have no corner
    // to write to.
    if (d.selectedCorner == 0) return;
    d.lastCorner = d.selectedCorner;

    // The grabbed corner jumps to the pressed pixel at once.
    const IntSize image = s.imageSize();
    for (int32_t i = 0; i < 4; ++i) {
        if (i == d.selectedCorner - 1) {
            corners[i] = p;
        } else {
            corners[i].x = std::min(std::max(corners[i].x, 0), image.cx);
            corners[i].y = std::min(std::max(corners[i].y, 0), image.cy);
        }
    }
    d.dragStart = p;
    d.dragPending = true;
    d.dragActive = true;
    r.capture = MouseCapture::Grab;
    r.repaintAll = true;
}

void pressGraphRect(ViewState& s, IntPoint q, IntPoint p, ToolResult& r) {
    DragState& d = s.drag;
    d.selectedHandle = graphRectHandleAt(s, q);
    r.cursor = edgeCursor(d.selectedHandle);
    if (d.selectedHandle == 0) return;
    d.lastHandle = d.selectedHandle;
    d.dragStart = p;
    d.dragPending = true;
    d.dragActive = true;
    r.capture = MouseCapture::Grab;
}

void pressAdd(ViewState& s, IntPoint q, IntPoint p, ToolResult& r) {
    if (!insideInnerArea(p, s.imageSize())) return;
    SourcePointList& points = s.points;
    for (int32_t i = 0; i < points.pointCount; ++i) {
        if (containsPoint(hitBoxOf(s.transform, points.points[i]), q)) {
            points.selectedPoint = i;
            r.pane.selectRow = i;
            r.repaintAll = true;
            return;
        }
    }
    const int32_t n = points.add({p.x, p.y});
    if (n < 0) return;  // a full list ignores the click
    points.selectedPoint = n;
    r.pane.addedRow = n;
    r.repaintAll = true;
}

void pressErase(ViewState& s, IntPoint q, IntPoint p, ToolResult& r) {
    SourcePointList& points = s.points;
    // After a removal the next point has moved into index i, so i stays.
    for (int32_t i = 0; i < points.pointCount;) {
        if (containsPoint(hitBoxOf(s.transform, points.points[i]), q)) {
            points.remove(i);
            r.pane.removedRows.push_back(i);
            r.pane.ensureVisibleRow = i;
        } else {
            ++i;
        }
    }
    if (!r.pane.removedRows.empty()) r.repaintAll = true;
    if (insideInnerArea(p, s.imageSize())) {
        s.drag.dragStart = p;
        s.drag.dragPending = true;
        s.drag.dragActive = true;
    }
}

void releaseGraphRect(ViewState& s) {
    const IntPoint p = s.drag.dragCurrent;
    IntRect& g = s.mapping.geometry.graphRect;
    IntRect& a = s.axis.axisRect;
    switch (s.drag.selectedHandle) {
        case 1:
            g.left = p.x;
            g.top = p.y;
            break;
        case 2:
            g.right = p.x;
            g.top = p.y;
            break;
        case 3:
            g.right = p.x;
            g.bottom = p.y;
            break;
        case 4:
            g.left = p.x;
            g.bottom = p.y;
            break;
        case 5:
            a.left = p.x;
            break;
        case 6:
            a.right = p.x;
            break;
        case 7:
            a.bottom = p.y;
            break;
        case 8:
            a.top = p.y;
            break;
        default:
            break;
    }
}

// Strictly inside the region: points on its first or last row or column stay.
void releaseErase(ViewState& s, ToolResult& r) {
    const IntPoint a = s.drag.dragStart;
    const IntPoint b = s.drag.dragCurrent;
    const int32_t left = std::min(a.x, b.x);
    const int32_t right = std::max(a.x, b.x);
    const int32_t top = std::min(a.y, b.y);
    const int32_t bottom = std::max(a.y, b.y);
    SourcePointList& points = s.points;
    for (int32_t i = 0; i < points.pointCount;) {
        const SourcePoint p = points.points[i];
        if (left < p.h && p.h < right && top < p.v && p.v < bottom) {
            points.remove(i);
            r.pane.removedRows.push_back(i);
        } else {
            ++i;
        }
    }
}

}  // namespace

ActiveTool activeTool(const ViewState& s) {
    const int source = s.display.displaySource;
    const InteractionMode& m = s.tools;
    if (m.cornerMode && source == 1) return ActiveTool::Corners;
    if (source != 2) return ActiveTool::None;
    if (m.graphRectMode) return ActiveTool::GraphRect;
    if (m.addPointsMode) return ActiveTool::AddPoints;
    if (m.erasePointsMode) return ActiveTool::ErasePoints;
    if (m.extractMode) return ActiveTool::Extract;
    return ActiveTool::None;
}

IntRect handleBox(IntPoint c) {
    return {c.x - kHandleReach, c.y - kHandleReach, c.x + kHandleReach, c.y + kHandleReach};
}

IntRect hitBoxOf(const ViewTransform& view, SourcePoint p) {
    const IntPoint pixel{p.h, p.v};
    IntRect box = CellRectOf(view, pixel);
    const IntPoint c = CellCentreOf(view, pixel);
    if (box.width() < kHitSize) {
        box.left = c.x - kHitSize / 2;
        box.right = c.x + kHitSize / 2;
    }
    if (box.height() < kHitSize) {
        box.top = c.y - kHitSize / 2;
        box.bottom = c.y + kHitSize / 2;
    }
    return box;
}

// Only one coordinate is compared, so an edge is taken anywhere along its
// line across the image.
int32_t axisEdgeAt(const ViewState& s, IntPoint q) {
    const IntPoint a = rawImagePoint(s.transform, {q.x - kHandleReach, q.y - kHandleReach});
    const IntPoint b = rawImagePoint(s.transform, {q.x + kHandleReach, q.y + kHandleReach});
    const IntRect& e = s.axis.axisRect;
    if (a.x <= e.left && e.left <= b.x) return 5;
    if (a.x <= e.right && e.right <= b.x) return 6;
    if (a.y <= e.bottom && e.bottom <= b.y) return 7;
    if (a.y <= e.top && e.top <= b.y) return 8;
    return 0;
}

// An axis edge wins over a graph-rectangle corner near it.
int32_t graphRectHandleAt(const ViewState& s, IntPoint q) {
    if (const int32_t edge = axisEdgeAt(s, q)) return edge;
    const IntRect& g = s.mapping.geometry.graphRect;
    const IntPoint corners[4] = {
        {g.left, g.top}, {g.right, g.top}, {g.right, g.bottom}, {g.left, g.bottom}};
    for (int32_t i = 0; i < 4; ++i) {
        if (containsPoint(handleBox(CellCentreOf(s.transform, corners[i])), q)) return i + 1;
    }
    return 0;
}

IntPoint limitedHandlePosition(const ViewState& s, int32_t handle, IntPoint image) {
    const ViewTransform& t = s.transform;
    const IntSize size = s.imageSize();
    const IntRect& g = s.mapping.geometry.graphRect;
    const IntRect& e = s.axis.axisRect;
    const IntPoint a = CellCentreOf(t, {g.left, g.top});
    const IntPoint b = CellCentreOf(t, {g.right, g.top});
    const IntPoint d = CellCentreOf(t, {g.left, g.bottom});
    const IntPoint axisLB = CellCentreOf(t, {e.left, e.bottom});
    const IntPoint axisRT = CellCentreOf(t, {e.right, e.top});
    const IntPoint w = CellCentreOf(t, {size.cx - 1, size.cy - 1});
    const int32_t aL = axisLB.x;
    const int32_t aB = axisLB.y;
    const int32_t aR = axisRT.x;
    const int32_t aT = axisRT.y;
    constexpr int32_t gap = kEdgeGap;

    // min and max applied in this order, so the last bound wins a conflict.
    IntPoint k = CellCentreOf(t, image);
    switch (handle) {
        case 1:
            k = {std::max(std::min(k.x, aL - gap), gap), std::max(std::min(k.y, aT - gap), gap)};
            break;
        case 2:
            k = {std::min(std::max(k.x, aR + gap), w.x - gap),
                 std::max(std::min(k.y, aT - gap), gap)};
            break;
        case 3:
            k = {std::min(std::max(k.x, aR + gap), w.x - gap),
                 std::min(std::max(k.y, aB + gap), w.y - gap)};
            break;
        case 4:
            k = {std::max(std::min(k.x, aL - gap), gap),
                 std::min(std::max(k.y, aB + gap), w.y - gap)};
            break;
        case 5:
            k.x = std::max(std::min(k.x, aR - gap), a.x + gap);
            break;
        case 6:
            k.x = std::min(std::max(k.x, aL + gap), b.x - gap);
            break;
        case 7:
            k.y = std::min(std::max(k.y, aT + gap), d.y - gap);
            break;
        case 8:
            k.y = std::max(std::min(k.y, aB - gap), a.y + gap);
            break;
        default:
            return image;
    }
    const ImagePointResult back = ClampedImagePointOf(t, k, size);
    return back.ok ? back.point : image;
}

ToolResult leftButtonDown(ViewState& s, IntPoint q, IntSize client) {
    ToolResult r;
    s.drag.leftDownPoint = q;
    if (!insideClient(q, client)) return r;
    r.takeFocus = true;
    if (!s.imagePresent()) return r;
    const ImagePointResult p = ImagePointOf(s.transform, q, client, s.imageSize());
    if (!p.ok) return r;
    switch (activeTool(s)) {
        case ActiveTool::Corners:
            pressCorner(s, q, p.point, r);
            break;
        case ActiveTool::GraphRect:
            pressGraphRect(s, q, p.point, r);
            break;
        case ActiveTool::AddPoints:
            pressAdd(s, q, p.point, r);
            break;
        case ActiveTool::ErasePoints:
            pressErase(s, q, p.point, r);
            break;
        case ActiveTool::Extract:  // on the release: a click is a press and a release
        case ActiveTool::None:
            break;
    }
    return r;
}

ToolResult mouseMove(ViewState& s, IntPoint q, MouseButtons held, IntSize client) {
    ToolResult r;
    if (!s.imagePresent()) return r;
    ViewTransform& t = s.transform;

    if (insideClient(q, client)) {
        if (held.right) {
            const IntPoint anchor = t.panAnchor;
            IntPoint delta{0, 0};
            if (anchor.x >= 0 && anchor.y >= 0) delta = {q.x - anchor.x, q.y - anchor.y};
            const IntPoint before = t.scrollPos;
            // An image smaller than the client on an axis does not scroll on it.
            if (t.displaySize.cx >= client.cx) t.scrollPos.x -= delta.x;
            if (t.displaySize.cy >= client.cy) t.scrollPos.y -= delta.y;
            clampScroll(t, client);
            t.panAnchor = q;
            r.scrolled = !(t.scrollPos == before);
            r.repaintAll = true;
            r.cursor = ToolCursor::Pan;
        } else {
            r.cursor = hoverCursor(s, q);
        }
    }

    // The drag follows the pointer also outside the client: the mouse is held.
    DragState& d = s.drag;
    if (d.dragActive) {
        if (bandShown(d)) r.repaintRects.push_back(rubberBandArea(s));
        const IntPoint k = ClampedImagePointOf(t, q, s.imageSize()).point;
        IntPoint next = k;
        r.cursor = ToolCursor::Cross;
        if (activeTool(s) == ActiveTool::GraphRect && validHandle(d.selectedHandle)) {
            // Limits apply from the first move on, so no quick flick of the
            // pointer can push an edge past its neighbours.
            next = limitedHandlePosition(s, d.selectedHandle, k);
            r.cursor = edgeCursor(d.selectedHandle);
        }
        d.dragPending = false;
        d.rubberBand = SpanRectOf(t, d.dragStart, k);
        d.dragCurrent = next;
        const IntRect area = rubberBandArea(s);
        if (area.width() > 0 && area.height() > 0) r.repaintRects.push_back(area);
    }
    return r;
}

ToolResult leftButtonUp(ViewState& s, IntPoint q, IntSize client) {
    ToolResult r;
    r.capture = MouseCapture::Release;
    r.repaintAll = true;
    DragState& d = s.drag;
    const bool pressed = d.leftDownPoint != IntPoint{-1, -1};
    d.leftDownPoint = {-1, -1};
    const bool moved = d.dragActive && !d.dragPending;
    switch (activeTool(s)) {
        case ActiveTool::Extract:
            if (pressed && s.imagePresent() && insideClient(q, client)) {
                const ImagePointResult p = ImagePointOf(s.transform, q, client, s.imageSize());
                if (p.ok) r.extractAt = p.point;
            }
            break;
        case ActiveTool::Corners:
            // A corner that only jumped on the press has moved too, so the
            // guide follows it either way.
            if (d.dragActive && validCorner(d.selectedCorner)) {
                if (moved) s.mapping.geometry.corners[d.selectedCorner - 1] = d.dragCurrent;
                updateInnerQuad(s.mapping);
            }
            break;
        case ActiveTool::GraphRect:
            if (moved && validHandle(d.selectedHandle)) {
                releaseGraphRect(s);
                r.pane.refreshAll = true;
            }
            break;
        case ActiveTool::ErasePoints:
            if (moved && s.points.pointCount > 0) releaseErase(s, r);
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

ToolResult nudge(ViewState& s, int32_t dx, int32_t dy) {
    ToolResult r;
    DragState& d = s.drag;
    if (d.dragActive || !s.imagePresent()) return r;
    const IntSize image = s.imageSize();
    switch (activeTool(s)) {
        case ActiveTool::AddPoints:
        case ActiveTool::ErasePoints: {
            SourcePointList& points = s.points;
            const int32_t i = points.selectedPoint;
            if (i < 0 || i >= points.pointCount) return r;
            SourcePoint& p = points.points[std::size_t(i)];
            // Where a click may place a point.
            const SourcePoint moved{std::clamp(p.h + dx, 1, std::max(1, image.cx - 2)),
                                    std::clamp(p.v + dy, 1, std::max(1, image.cy - 2))};
            if (moved == p) return r;
            p = moved;
            r.pane.refreshAll = true;
            r.pane.selectRow = i;
            break;
        }
        case ActiveTool::Corners: {
            if (!validCorner(d.lastCorner)) return r;
            IntPoint& c = s.mapping.geometry.corners[std::size_t(d.lastCorner - 1)];
            // As a drag clamps: onto the picture, its far edges included.
            const IntPoint moved{std::clamp(c.x + dx, 0, image.cx),
                                 std::clamp(c.y + dy, 0, image.cy)};
            if (moved == c) return r;
            c = moved;
            updateInnerQuad(s.mapping);
            break;
        }
        case ActiveTool::GraphRect: {
            if (!validHandle(d.lastHandle)) return r;
            const IntRect& g = s.mapping.geometry.graphRect;
            const IntRect& a = s.axis.axisRect;
            const IntPoint at[9] = {{},
                                    {g.left, g.top},
                                    {g.right, g.top},
                                    {g.right, g.bottom},
                                    {g.left, g.bottom},
                                    {a.left, a.top},
                                    {a.right, a.top},
                                    {a.left, a.bottom},
                                    {a.left, a.top}};
            const IntPoint from = at[d.lastHandle];
            // The drag's own limits: inside the picture, the axis rectangle
            // inside the graph rectangle, each edge clear of the next.
            // The gaps counted in picture pixels, whatever the zoom (at a
            // reduced zoom a one-pixel step would round away).
            ViewState unzoomed = s;
            unzoomed.transform = ViewTransform{};
            d.selectedHandle = d.lastHandle;
            d.dragCurrent =
                limitedHandlePosition(unzoomed, d.lastHandle, {from.x + dx, from.y + dy});
            const IntRect before = g;
            const IntRect axisBefore = a;
            releaseGraphRect(s);
            d.selectedHandle = 0;
            d.dragCurrent = {0, 0};
            if (g == before && a == axisBefore) return r;
            r.pane.refreshAll = true;
            break;
        }
        default:
            return r;
    }
    r.repaintAll = true;
    return r;
}

ToolResult rightButtonDown(ViewState& s, IntPoint q, IntSize /*client*/) {
    ToolResult r;
    s.transform.panAnchor = q;
    if (s.imagePresent()) r.cursor = ToolCursor::Pan;
    r.capture = MouseCapture::Grab;
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
    r.capture = MouseCapture::Release;
    r.repaintAll = true;
    r.cursor = s.imagePresent() && insideClient(q, client) ? hoverCursor(s, q) : ToolCursor::Arrow;
    return r;
}

ToolResult wheelZoom(ViewState& s, IntPoint q, int32_t delta, IntSize client) {
    if (delta == 0 || !s.imagePresent()) return {};
    const ImagePointResult p = ImagePointOf(s.transform, q, client, s.imageSize());
    if (!p.ok) return {};
    ToolResult r = delta < 0 ? zoomOut(s, client) : zoomIn(s, client);
    if (!r.zoomed) return r;

    // Keep the pixel under the pointer where it was.
    ViewTransform& t = s.transform;
    const IntPoint before = t.scrollPos;
    t.scrollPos = {scaleToWindow(p.point.x, t.zoomShift) - q.x,
                   scaleToWindow(p.point.y, t.zoomShift) - q.y};
    clampScroll(t, client);
    r.scrolled = r.scrolled || !(t.scrollPos == before);
    return r;
}

ToolResult zoomIn(ViewState& s, IntSize client) {
    return zoomTo(s, s.transform.zoomShift + 1, client);
}

ToolResult zoomOut(ViewState& s, IntSize client) {
    return zoomTo(s, s.transform.zoomShift - 1, client);
}

ToolResult zoomToFit(ViewState& s, IntSize client) {
    ToolResult r;
    if (!s.imagePresent()) return r;
    const IntSize image = s.imageSize();
    int32_t fit = kMinZoomShift;
    for (int32_t z = kMaxZoomShift; z > kMinZoomShift; --z) {
        if (scaleToWindow(image.cx, z) <= client.cx && scaleToWindow(image.cy, z) <= client.cy) {
            fit = z;
            break;
        }
    }
    r = zoomTo(s, fit, client);
    if (!(s.transform.scrollPos == IntPoint{0, 0})) {
        s.transform.scrollPos = {0, 0};
        r.scrolled = true;
        r.repaintAll = true;
    }
    return r;
}

namespace {

std::string zoomText(int32_t shift) {
    // 2^shift as a percentage: 6400 % down to 6.25 %.
    const double percent = std::ldexp(100.0, shift);
    char text[32];
    std::snprintf(text, sizeof text, "%g%%", percent);
    return substitute(translate("qf::Messages", "倍率 %1"), {text});
}

std::string axisValueText(const char* name, std::optional<double> value, bool log) {
    return std::string(name) + " " + formatValue(value) +
           (log ? translate("qf::Messages", " (対数)") : std::string());
}

}  // namespace

std::string pointerStatusText(const ViewState& s, std::optional<IntPoint> window, IntSize client) {
    const std::string zoom = zoomText(s.transform.zoomShift);
    if (!window || !s.imagePresent()) return zoom;
    const ImagePointResult p = ImagePointOf(s.transform, *window, client, s.imageSize());
    if (!p.ok) return zoom;
    const IntPoint q = p.point;
    return "(" + std::to_string(q.x) + ", " + std::to_string(q.y) + ")   " +
           axisValueText("X", calibrateX(s.axis, q.x), s.axis.xLog) + "   " +
           axisValueText("Y", calibrateY(s.axis, q.y), s.axis.yLog) + "   " + zoom;
}

IntSize scrollLimit(const ViewTransform& view, IntSize client) {
    return {std::max(view.displaySize.cx - client.cx, 0),
            std::max(view.displaySize.cy - client.cy, 0)};
}

bool clampScroll(ViewTransform& view, IntSize client) {
    const IntSize limit = scrollLimit(view, client);
    const IntPoint before = view.scrollPos;
    view.scrollPos = {std::clamp(before.x, 0, limit.cx), std::clamp(before.y, 0, limit.cy)};
    return !(view.scrollPos == before);
}

std::vector<std::vector<IntPoint>> rubberBandLines(const ViewState& s) {
    if (!bandShown(s.drag)) return {};
    switch (activeTool(s)) {
        case ActiveTool::Corners:
            if (validCorner(s.drag.selectedCorner)) return cornerBand(s);
            return {};
        case ActiveTool::GraphRect:
            return graphRectBand(s);
        case ActiveTool::ErasePoints:
            return eraseBand(s);
        default:
            return {};
    }
}

IntRect rubberBandArea(const ViewState& s) {
    const std::vector<std::vector<IntPoint>> lines = rubberBandLines(s);
    bool any = false;
    IntRect box;
    for (const std::vector<IntPoint>& line : lines) {
        for (const IntPoint& p : line) {
            if (!any) {
                box = {p.x, p.y, p.x, p.y};
                any = true;
            }
            box.left = std::min(box.left, p.x);
            box.top = std::min(box.top, p.y);
            box.right = std::max(box.right, p.x);
            box.bottom = std::max(box.bottom, p.y);
        }
    }
    if (!any) return {};
    // Right and bottom exclusive, and the pen's width on every side.
    return {box.left - kBandPenWidth, box.top - kBandPenWidth, box.right + kBandPenWidth + 1,
            box.bottom + kBandPenWidth + 1};
}

}  // namespace qf
