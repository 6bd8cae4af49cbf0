#pragma once
// The band that follows the mouse while a corner, a graph-rectangle handle or
// an erase region is dragged. It is part of the view's state and painted over
// everything else by inverting the pixels under a 2 px pen, so it stays
// visible on any picture.
//
// Draws the lines of rubberBandLines, in window coordinates.

#include <QPainter>

#include "view/paint/band_geometry.h"
#include "view/view_state.h"

namespace qf {

void paintRubberBand(QPainter& painter, const ViewState& state);

}  // namespace qf
