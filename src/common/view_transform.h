#pragma once
// Zoom and scroll of the image view, and the conversions between image
// pixels, window (client-area) pixels and logical drawing coordinates.
// Zoom is a power of two applied by integer shifts only, so every conversion
// is exact and the same everywhere: the view, its overlays and the generated
// graph drawn into a file at 1:1.

#include <cstdint>

#include "common/geometry.h"

namespace qf {

struct IntSize {
    int32_t cx = 0;
    int32_t cy = 0;
    friend bool operator==(const IntSize&, const IntSize&) = default;
};

inline constexpr int32_t kMinZoomShift = -4;  // 1/16
inline constexpr int32_t kMaxZoomShift = 6;   // 64

struct ViewTransform {
    int32_t zoomShift = 0;   // z: the image is shown at 2^z
    IntPoint scrollPos;      // window pixel of the zoomed image at the client's top-left
    IntSize displaySize;     // image size scaled to the window, as last given to the scrollbars
    IntSize cellSize{1, 1};  // window pixels per image pixel: 2^z for z >= 1, else 1
    IntPoint panAnchor{-1, -1};  // right-button pan anchor; (-1, -1) while not panning
};

// Image length -> window length (v << z, or v >> -z arithmetically).
int32_t scaleToWindow(int32_t v, int32_t zoomShift);
// Window length -> image length, the inverse shift.
int32_t scaleToImage(int32_t v, int32_t zoomShift);
int32_t cellSizeFor(int32_t zoomShift);

// Scrollbar geometry for an image of a non-zero size at a zoom. A zero-sized
// image gets no scroll range at all; that case is the caller's.
struct ScrollSizes {
    IntSize total;  // the zoomed image
    IntSize page;
    IntSize line;
    IntSize cell;
};
ScrollSizes scrollSizesFor(int32_t zoomShift, IntSize imageSize);

// Logical coordinates are those of the zoomed image: window + scroll position.
IntPoint windowToLogical(const ViewTransform& view, IntPoint window);
IntPoint logicalToWindow(const ViewTransform& view, IntPoint logical);
IntRect windowToLogical(const ViewTransform& view, IntRect window);

struct ImagePointResult {
    bool ok = false;
    IntPoint point;  // (0, 0) when !ok
};

// The image pixel under a window point; fails outside the client area or the
// image. An image of zero width or height counts as no image.
ImagePointResult ImagePointOf(const ViewTransform& view, IntPoint window, IntSize clientSize,
                              IntSize imageSize);
// As ImagePointOf without the client test, clamped onto the image; fails
// only without an image.
ImagePointResult ClampedImagePointOf(const ViewTransform& view, IntPoint window, IntSize imageSize);
// The window cell that an image pixel covers (right and bottom exclusive).
IntRect CellRectOf(const ViewTransform& view, IntPoint image);
// The window rectangle covering the cells of two pixels.
IntRect SpanRectOf(const ViewTransform& view, IntPoint a, IntPoint b);
// Integer midpoint of CellRectOf, halved toward zero, in window pixels.
IntPoint CellCentreOf(const ViewTransform& view, IntPoint image);

// Where overlays draw an image pixel: CellCentreOf in logical coordinates.
IntPoint pixelCentreOf(const ViewTransform& view, IntPoint image);
// The visible image rectangle in logical coordinates: from the window's
// top-left to the centre of the image's last pixel (right and bottom
// exclusive). Labels whose box leaves it are not drawn.
IntRect visibleImageRect(const ViewTransform& view, IntSize imageSize);

// Half-open containment: left <= x < right and top <= y < bottom.
bool containsPoint(const IntRect& r, IntPoint p);

}  // namespace qf
