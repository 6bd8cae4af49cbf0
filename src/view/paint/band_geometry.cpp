#include "view/paint/band_geometry.h"

#include <algorithm>
#include <optional>

#include "common/view_transform.h"
#include "imaging/mapping.h"

namespace qf {

namespace {

using Polyline = std::vector<IntPoint>;

void closePolyline(Polyline& line) {
    if (!line.empty()) line.push_back(line.front());
}

// The quadrilateral with the dragged corner moved, and the guide inside it.
std::vector<Polyline> cornerBand(const ViewState& s) {
    const ViewTransform& t = s.transform;
    Quad corners = s.doc.mapping.corners;
    corners[s.drag.selectedCorner - 1] = s.drag.dragCurrent;
    std::vector<Polyline> lines(1);
    for (const IntPoint& c : corners) lines[0].push_back(CellCentreOf(t, c));
    closePolyline(lines[0]);

    const IntRect& g = s.doc.mapping.graphRect;
    if (g.width() != 0 && g.height() != 0) {
        const std::optional<Quad> guide =
            computeInnerQuad(corners, 40.0 / g.width(), 40.0 / g.height(), s.doc.mapping.method);
        if (guide) {
            Polyline& line = lines.emplace_back();
            for (const IntPoint& c : *guide) line.push_back(CellCentreOf(t, c));
            closePolyline(line);
        }
    }
    return lines;
}

// A dragged graph-rectangle corner: the rectangle it spans with the opposite
// corner; a dragged axis edge: its line across the graph rectangle.
std::vector<Polyline> graphRectBand(const ViewState& s) {
    const ViewTransform& t = s.transform;
    const IntRect& g = s.doc.mapping.graphRect;
    const IntPoint a = CellCentreOf(t, {g.left, g.top});
    const IntPoint b = CellCentreOf(t, {g.right, g.top});
    const IntPoint c = CellCentreOf(t, {g.right, g.bottom});
    const IntPoint d = CellCentreOf(t, {g.left, g.bottom});
    const IntPoint k = CellCentreOf(t, s.drag.dragCurrent);
    switch (s.drag.selectedHandle) {
        case GraphRectHandle::GraphTopLeft:
            return {{k, {b.x, k.y}, c, {k.x, d.y}, k}};
        case GraphRectHandle::GraphTopRight:
            return {{k, {a.x, k.y}, d, {k.x, c.y}, k}};
        case GraphRectHandle::GraphBottomRight:
            return {{k, {d.x, k.y}, a, {k.x, b.y}, k}};
        case GraphRectHandle::GraphBottomLeft:
            return {{k, {c.x, k.y}, b, {k.x, a.y}, k}};
        case GraphRectHandle::AxisLeft:
        case GraphRectHandle::AxisRight:
            return {{{k.x, a.y}, {k.x, d.y}}};
        case GraphRectHandle::AxisBottom:
        case GraphRectHandle::AxisTop:
            return {{{a.x, k.y}, {b.x, k.y}}};
        case GraphRectHandle::None:
            break;
    }
    return {};
}

std::vector<Polyline> eraseBand(const ViewState& s) {
    const IntRect r = SpanRectOf(s.transform, s.drag.dragStart, s.drag.dragCurrent);
    return {{{r.left, r.top},
             {r.right, r.top},
             {r.right, r.bottom},
             {r.left, r.bottom},
             {r.left, r.top}}};
}

}  // namespace

bool bandShown(const DragState& d) {
    return d.dragActive && !d.dragPending;
}

std::vector<std::vector<IntPoint>> rubberBandLines(const ViewState& s) {
    if (!bandShown(s.drag)) return {};
    switch (activeTool(s)) {
        case Tool::Corners:
            if (isCorner(s.drag.selectedCorner)) return cornerBand(s);
            return {};
        case Tool::GraphRect:
            return graphRectBand(s);
        case Tool::ErasePoints:
            return eraseBand(s);
        default:
            return {};
    }
}

IntRect rubberBandArea(const ViewState& s) {
    const std::vector<Polyline> lines = rubberBandLines(s);
    bool any = false;
    IntRect box;
    for (const Polyline& line : lines) {
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
