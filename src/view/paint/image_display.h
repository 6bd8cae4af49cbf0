#pragma once
// The first layer of the view's paint: the visible part of the displayed
// image at the current zoom, the optional pixel grid, the black line along the
// image's bottom and right edges, and the client area the image leaves free.
//
// Draws in window (client-area) coordinates: pass the viewport's painter
// untranslated. Only the part of the image inside the client area is scaled,
// so a repaint costs what the viewport holds, whatever the picture's size.

#include <QPainter>
#include <QPalette>
#include <cstdint>

#include "common/view_transform.h"
#include "view/view_state.h"

namespace qf {

// System colours the widget takes from its palette, so the painting itself
// stays deterministic. 0x00BBGGRR.
struct DisplayColours {
    uint32_t inactiveBorder = 0xC8D0D4;  // the client area beside and without an image
};

DisplayColours displayColoursFrom(const QPalette& palette);

// The zoomed image's window rectangle clipped to the client area: where image
// pixels (or the white area of display source 0) are painted. Empty without
// an image, or when the image shrinks to nothing at a negative zoom.
IntRect visibleImageArea(const ViewTransform& view, IntSize imageSize, IntSize clientSize);

void paintImageDisplay(QPainter& painter, const ViewState& state, IntSize clientSize,
                       const DisplayColours& colours);

}  // namespace qf
