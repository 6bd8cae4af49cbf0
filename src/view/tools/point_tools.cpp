#include "view/tools/point_tools.h"

#include <algorithm>

#include "points/source_points.h"
#include "view/tools/hit_boxes.h"

namespace qf {

namespace {

// The image without its outermost rows and columns.
bool insideInnerArea(IntPoint p, IntSize image) {
    return 0 < p.x && p.x < image.cx - 1 && 0 < p.y && p.y < image.cy - 1;
}

}  // namespace

void pressAdd(ViewState& s, IntPoint q, IntPoint p, ToolResult& r) {
    if (!insideInnerArea(p, s.imageSize())) return;
    std::vector<SourcePoint>& points = s.doc.current().points;
    for (int32_t i = 0; i < s.pointCount(); ++i) {
        if (containsPoint(hitBoxOf(s.transform, points[std::size_t(i)]), q)) {
            s.selectedPoint = i;
            r.pane.selectRow = i;
            r.repaintAll = true;
            return;
        }
    }
    const int32_t n = addSourcePoint(points, {p.x, p.y});
    if (n < 0) return;  // a full list ignores the click
    s.selectedPoint = n;
    r.pane.addedRow = n;
    r.repaintAll = true;
}

void pressErase(ViewState& s, IntPoint q, IntPoint p, ToolResult& r) {
    std::vector<SourcePoint>& points = s.doc.current().points;
    // After a removal the next point has moved into index i, so i stays.
    for (int32_t i = 0; i < s.pointCount();) {
        if (containsPoint(hitBoxOf(s.transform, points[std::size_t(i)]), q)) {
            removeSourcePoint(points, i);
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

// Strictly inside the region: points on its first or last row or column stay.
void releaseErase(ViewState& s, ToolResult& r) {
    const IntPoint a = s.drag.dragStart;
    const IntPoint b = s.drag.dragCurrent;
    const int32_t left = std::min(a.x, b.x);
    const int32_t right = std::max(a.x, b.x);
    const int32_t top = std::min(a.y, b.y);
    const int32_t bottom = std::max(a.y, b.y);
    std::vector<SourcePoint>& points = s.doc.current().points;
    for (int32_t i = 0; i < s.pointCount();) {
        const SourcePoint p = points[std::size_t(i)];
        if (left < p.h && p.h < right && top < p.v && p.v < bottom) {
            removeSourcePoint(points, i);
            r.pane.removedRows.push_back(i);
        } else {
            ++i;
        }
    }
}

bool nudgePoint(ViewState& s, int32_t dx, int32_t dy, ToolResult& r) {
    const int32_t i = s.selectedPoint;
    if (i < 0 || i >= s.pointCount()) return false;
    const IntSize image = s.imageSize();
    SourcePoint& p = s.doc.current().points[std::size_t(i)];
    // Where a click may place a point.
    const SourcePoint moved{std::clamp(p.h + dx, 1, std::max(1, image.cx - 2)),
                            std::clamp(p.v + dy, 1, std::max(1, image.cy - 2))};
    if (moved == p) return false;
    p = moved;
    r.pane.refreshAll = true;
    r.pane.selectRow = i;
    return true;
}

}  // namespace qf
