#pragma once
// What a press hits: the boxes around handles and source points, in window
// pixels, so that a small handle or point can be taken at any zoom.

#include <cstdint>

#include "common/geometry.h"
#include "common/view_transform.h"

namespace qf {

inline constexpr int32_t kHandleReach = 5;  // window pixels either side of a handle

// Half-open box of 10 x 10 window pixels around a corner's cell centre.
IntRect handleBox(IntPoint centre);
// A source point's cell, widened to 10 window pixels around its centre on an
// axis where the cell is smaller.
IntRect hitBoxOf(const ViewTransform& view, SourcePoint p);

}  // namespace qf
