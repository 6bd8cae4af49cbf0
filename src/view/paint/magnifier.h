#pragma once
// The loupe: while points are added, or a corner, handle or axis edge is
// dragged, the picture around the pixel a click (or the drag) would take,
// enlarged, with that pixel framed, beside the pointer.

#include <QPainter>
#include <optional>

#include "common/geometry.h"
#include "view/view_state.h"

namespace qf {

inline constexpr int kLoupeRadius = 10;  // image pixels each side of the centre
inline constexpr int kLoupeScale = 8;    // window pixels per image pixel
inline constexpr int kLoupeSide = (2 * kLoupeRadius + 1) * kLoupeScale;
inline constexpr int kLoupeOffset = 24;  // from the pointer to the loupe's near corner

struct Loupe {
    IntPoint centre;  // the image pixel in the middle
    IntRect box;      // where it is drawn, in window pixels
};

// Where the loupe goes for the pointer (window pixels), or nothing when it is
// switched off, no tool that places things is at work, the pointer is not
// over the picture, or the view's own zoom is already as large. It sits below
// and right of the pointer, or left or above where the window ends there,
// never under the pointer (in a window too small for that, nowhere).
std::optional<Loupe> loupeFor(const ViewState& s, std::optional<IntPoint> pointer, IntSize client);

// Draws it: each image pixel a kLoupeScale square (nearest, exact), grey
// beyond the picture's border, the centre pixel framed in red and white.
void paintLoupe(QPainter& painter, const ViewState& s, const Loupe& loupe);

}  // namespace qf
