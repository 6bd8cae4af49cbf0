#pragma once
// The band that follows the mouse while a corner, a graph-rectangle handle or
// an erase region is dragged. It is part of the view's state and painted over
// everything else by inverting the pixels under a 2 px pen, so it stays
// visible on any picture.
//
// Draws in window coordinates, like the bands' cell centres.

#include <QPainter>
#include <optional>
#include <vector>

#include "common/view_transform.h"
#include "view/view_state.h"

namespace qf {

// The band's polylines in window coordinates; none while nothing is dragged
// or before the mouse has moved since the press.
std::vector<std::vector<IntPoint>> rubberBandLines(const ViewState& state);

void paintRubberBand(QPainter& painter, const ViewState& state);

}  // namespace qf
