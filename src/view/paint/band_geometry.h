#pragma once
// Where the rubber band of the drag in progress runs: what the painter draws
// and what the tools repaint when it moves or goes. No Qt here, so that the
// tools can ask without a painter.

#include <cstdint>
#include <vector>

#include "common/geometry.h"
#include "view/view_state.h"

namespace qf {

// The band is drawn with a pen this wide.
inline constexpr int32_t kBandPenWidth = 2;

// A band shows from the first move of a drag on; a press alone draws none.
bool bandShown(const DragState& d);

// The band as polylines in window coordinates (closed ones repeat their first
// point); empty when no band is shown.
std::vector<std::vector<IntPoint>> rubberBandLines(const ViewState& s);
// The window area the band covers, pen included; empty without a band.
IntRect rubberBandArea(const ViewState& s);

}  // namespace qf
