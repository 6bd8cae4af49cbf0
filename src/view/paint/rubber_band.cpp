#include "view/paint/rubber_band.h"

#include "imaging/mapping.h"
#include "view/paint/paint_support.h"

namespace qf {

namespace {

using Polyline = std::vector<IntPoint>;

Polyline closed(const Quad& q, const ViewTransform& view) {
    Polyline line;
    for (int k = 0; k <= 4; ++k)
        line.push_back(CellCentreOf(view, q[static_cast<std::size_t>(k % 4)]));
    return line;
}

// The corners with the dragged one at the drag's position, and the guide the
// mapping would derive from exactly these corners.
std::vector<Polyline> cornerBand(const ViewState& s) {
    const int32_t corner = s.drag.m_selectedCorner;
    if (corner < 1 || corner > 4) return {};
    Quad corners = s.mapping.m_mappingCorners;
    corners[static_cast<std::size_t>(corner - 1)] = s.drag.m_dragCurrent;
    std::vector<Polyline> lines{closed(corners, s.transform)};
    const IntRect& r = s.mapping.m_graphRect;
    const double width = double(r.right) - r.left;
    const double height = double(r.bottom) - r.top;
    if (width != 0.0 && height != 0.0) {
        if (const std::optional<Quad> guide =
                computeInnerQuad(corners, 40.0 / width, 40.0 / height)) {
            lines.push_back(closed(*guide, s.transform));
        }
    }
    return lines;
}

std::vector<Polyline> graphRectBand(const ViewState& s) {
    const ViewTransform& view = s.transform;
    const IntRect& r = s.mapping.m_graphRect;
    const IntPoint a = CellCentreOf(view, {r.left, r.top});
    const IntPoint b = CellCentreOf(view, {r.right, r.top});
    const IntPoint c = CellCentreOf(view, {r.right, r.bottom});
    const IntPoint d = CellCentreOf(view, {r.left, r.bottom});
    const IntPoint k = CellCentreOf(view, s.drag.m_dragCurrent);
    switch (s.drag.m_selectedHandle) {
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

std::vector<Polyline> eraseBand(const ViewState& s) {
    const IntRect& r = s.drag.m_rubberBand;
    return {{{r.left, r.top},
             {r.right, r.top},
             {r.right, r.bottom},
             {r.left, r.bottom},
             {r.left, r.top}}};
}

}  // namespace

std::vector<std::vector<IntPoint>> rubberBandLines(const ViewState& s) {
    if (!s.drag.m_dragActive || s.drag.m_dragPending || !s.imagePresent()) return {};
    const int32_t source = s.display.m_displaySource;
    if (s.tools.m_cornerMode && source == 1) return cornerBand(s);
    if (s.tools.m_graphRectMode && source == 2) return graphRectBand(s);
    if (s.tools.m_erasePointsMode && source == 2) return eraseBand(s);
    return {};
}

void paintRubberBand(QPainter& painter, const ViewState& state) {
    const std::vector<Polyline> lines = rubberBandLines(state);
    if (lines.empty()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.setPen(paint::widePen(Qt::red));  // the colour has no effect under inversion
    painter.setBrush(Qt::NoBrush);
    for (const Polyline& line : lines) {
        QPolygon polygon;
        for (IntPoint p : line) polygon << paint::toQPoint(p);
        painter.drawPolyline(polygon);
    }
    painter.restore();
}

}  // namespace qf
