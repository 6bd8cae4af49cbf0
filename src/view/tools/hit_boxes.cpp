#include "view/tools/hit_boxes.h"

namespace qf {

namespace {

constexpr int32_t kHitSize = 10;  // smallest hit box of a point, window pixels

}  // namespace

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

}  // namespace qf
