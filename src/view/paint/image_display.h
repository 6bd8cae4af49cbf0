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
#include <opencv2/core.hpp>

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

// The displayed picture reduced for a negative zoom, kept by the widget
// between repaints. Reading every 16th pixel of every 16th row of a large
// photograph streams most of it through memory; the reduced copy is made once
// per picture and zoom, and a repaint then copies only what is visible.
//
// It keeps a reference to the picture it was made from. The program never
// rewrites a picture that another Mat refers to (it allocates a new one), so
// while the reference is held an unchanged data pointer means unchanged pixels.
class ReducedImageCache {
public:
    // The reduced picture as BGRX, or an empty Mat when it would be too large
    // to keep (then the visible part is sampled directly).
    const cv::Mat& reducedFor(const cv::Mat& image, int32_t zoomShift);
    // Lets go of the picture, so a replaced one is freed.
    void clear();

private:
    cv::Mat m_source;
    int32_t m_zoomShift = 0;
    cv::Mat m_reduced;
};

// With a cache, negative zooms draw from the reduced copy; the pixels are the
// same either way.
void paintImageDisplay(QPainter& painter, const ViewState& state, IntSize clientSize,
                       const DisplayColours& colours, ReducedImageCache* cache = nullptr);

}  // namespace qf
