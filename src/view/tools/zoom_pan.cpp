#include "view/tools/zoom_pan.h"

#include <algorithm>

#include "view/view_commands.h"

namespace qf {

namespace {

ToolResult zoomTo(ViewState& s, int32_t zoomShift, IntSize client) {
    ToolResult r;
    if (!s.imagePresent()) return r;
    zoomShift = std::clamp(zoomShift, kMinZoomShift, kMaxZoomShift);
    if (zoomShift == s.transform.zoomShift) return r;
    s.transform.zoomShift = zoomShift;
    updateScrollSizes(s, s.imageSize());
    r.scrolled = clampScroll(s.transform, client);
    r.zoomed = true;
    r.repaintAll = true;
    return r;
}

}  // namespace

ToolResult panTo(ViewState& s, IntPoint q, IntSize client) {
    ToolResult r;
    ViewTransform& t = s.transform;
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

}  // namespace qf
