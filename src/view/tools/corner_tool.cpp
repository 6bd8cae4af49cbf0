#include "view/tools/corner_tool.h"

#include <algorithm>

#include "imaging/mapping.h"
#include "view/tools/hit_boxes.h"

namespace qf {

void pressCorner(ViewState& s, IntPoint q, IntPoint p, ToolResult& r) {
    r.cursor = ToolCursor::Cross;
    DragState& d = s.drag;
    d.selectedCorner = 0;
    Quad& corners = s.doc.mapping.corners;
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
    r.repaintAll = true;
}

void releaseCorner(ViewState& s, bool moved) {
    const DragState& d = s.drag;
    // A corner that only jumped on the press has moved too, so the guide
    // follows it either way.
    if (!d.dragActive || !isCorner(d.selectedCorner)) return;
    if (moved) s.doc.mapping.corners[d.selectedCorner - 1] = d.dragCurrent;
    updateInnerQuad(s.doc.mapping, s.guide);
}

bool nudgeCorner(ViewState& s, int32_t dx, int32_t dy) {
    const int32_t corner = s.drag.lastCorner;
    if (!isCorner(corner)) return false;
    const IntSize image = s.imageSize();
    IntPoint& c = s.doc.mapping.corners[std::size_t(corner - 1)];
    // As a drag clamps: onto the picture, its far edges included.
    const IntPoint moved{std::clamp(c.x + dx, 0, image.cx), std::clamp(c.y + dy, 0, image.cy)};
    if (moved == c) return false;
    c = moved;
    updateInnerQuad(s.doc.mapping, s.guide);
    return true;
}

}  // namespace qf
