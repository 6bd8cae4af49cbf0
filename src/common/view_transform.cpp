#include "common/view_transform.h"

#include <algorithm>

namespace qf {

namespace {

bool hasImage(IntSize imageSize) {
    return imageSize.cx > 0 && imageSize.cy > 0;
}

IntPoint scaledToWindow(const ViewTransform& view, IntPoint image) {
    return {scaleToWindow(image.x, view.zoomShift), scaleToWindow(image.y, view.zoomShift)};
}

IntPoint windowToImage(const ViewTransform& view, IntPoint window) {
    const IntPoint logical = windowToLogical(view, window);
    return {scaleToImage(logical.x, view.zoomShift), scaleToImage(logical.y, view.zoomShift)};
}

}  // namespace

// C++20 defines shifts of negative values as arithmetic, which is what makes
// window points left of or above the image map to negative pixels.
int32_t scaleToWindow(int32_t v, int32_t zoomShift) {
    if (zoomShift > 0) return v << zoomShift;
    if (zoomShift < 0) return v >> -zoomShift;
    return v;
}

int32_t scaleToImage(int32_t v, int32_t zoomShift) {
    if (zoomShift > 0) return v >> zoomShift;
    if (zoomShift < 0) return v << -zoomShift;
    return v;
}

int32_t cellSizeFor(int32_t zoomShift) {
    return zoomShift >= 1 ? (1 << zoomShift) : 1;
}

ScrollSizes scrollSizesFor(int32_t zoomShift, IntSize imageSize) {
    ScrollSizes s;
    s.total = {scaleToWindow(imageSize.cx, zoomShift), scaleToWindow(imageSize.cy, zoomShift)};
    const int32_t cell = cellSizeFor(zoomShift);
    s.page = {std::max(s.total.cx / 16, cell), std::max(s.total.cy / 16, cell)};
    s.line = {cell, cell};
    s.cell = {cell, cell};
    return s;
}

IntPoint windowToLogical(const ViewTransform& view, IntPoint window) {
    return {window.x + view.scrollPos.x, window.y + view.scrollPos.y};
}

IntPoint logicalToWindow(const ViewTransform& view, IntPoint logical) {
    return {logical.x - view.scrollPos.x, logical.y - view.scrollPos.y};
}

IntRect windowToLogical(const ViewTransform& view, IntRect window) {
    const IntPoint tl = windowToLogical(view, IntPoint{window.left, window.top});
    const IntPoint br = windowToLogical(view, IntPoint{window.right, window.bottom});
    return {tl.x, tl.y, br.x, br.y};
}

bool containsPoint(const IntRect& r, IntPoint p) {
    return r.left <= p.x && p.x < r.right && r.top <= p.y && p.y < r.bottom;
}

ImagePointResult ImagePointOf(const ViewTransform& view, IntPoint window, IntSize clientSize,
                              IntSize imageSize) {
    if (!hasImage(imageSize) || !containsPoint({0, 0, clientSize.cx, clientSize.cy}, window)) {
        return {};
    }
    const IntPoint q = windowToImage(view, window);
    if (!containsPoint({0, 0, imageSize.cx, imageSize.cy}, q)) return {};
    return {true, q};
}

ImagePointResult ClampedImagePointOf(const ViewTransform& view, IntPoint window,
                                     IntSize imageSize) {
    if (!hasImage(imageSize)) return {};
    const IntPoint q = windowToImage(view, window);
    return {true, {std::clamp(q.x, 0, imageSize.cx - 1), std::clamp(q.y, 0, imageSize.cy - 1)}};
}

IntRect CellRectOf(const ViewTransform& view, IntPoint image) {
    const IntPoint w = logicalToWindow(view, scaledToWindow(view, image));
    return {w.x, w.y, w.x + view.cellSize.cx, w.y + view.cellSize.cy};
}

IntRect SpanRectOf(const ViewTransform& view, IntPoint a, IntPoint b) {
    const IntRect ca = CellRectOf(view, a);
    const IntRect cb = CellRectOf(view, b);
    return {std::min(ca.left, cb.left), std::min(ca.top, cb.top),
            std::max(ca.left, cb.left) + view.cellSize.cx,
            std::max(ca.top, cb.top) + view.cellSize.cy};
}

IntPoint CellCentreOf(const ViewTransform& view, IntPoint image) {
    const IntRect c = CellRectOf(view, image);
    return {(c.left + c.right) / 2, (c.top + c.bottom) / 2};
}

IntPoint pixelCentreOf(const ViewTransform& view, IntPoint image) {
    return windowToLogical(view, CellCentreOf(view, image));
}

IntRect visibleImageRect(const ViewTransform& view, IntSize imageSize) {
    const IntPoint last = CellCentreOf(view, {imageSize.cx - 1, imageSize.cy - 1});
    return windowToLogical(view, IntRect{0, 0, last.x, last.y});
}

}  // namespace qf
