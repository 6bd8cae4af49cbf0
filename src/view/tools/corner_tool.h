#pragma once
// The corner tool: drags the four mapping corners on the input picture. The
// guide inside them follows each move. Window points are viewport
// coordinates, image points pixels of the picture.

#include <cstdint>

#include "common/geometry.h"
#include "view/tools/tool_result.h"
#include "view/view_state.h"

namespace qf {

// Grabs the corner whose handle box holds the window point and jumps it to
// the pressed image pixel; a press on no handle starts no drag.
void pressCorner(ViewState& s, IntPoint window, IntPoint image, ToolResult& r);
// Puts the grabbed corner where the drag ended (moved says whether it went
// beyond the press) and recomputes the guide.
void releaseCorner(ViewState& s, bool moved);
// Moves the corner last grabbed by (dx, dy) image pixels, onto the picture;
// false when there is none or it cannot go further.
bool nudgeCorner(ViewState& s, int32_t dx, int32_t dy);

}  // namespace qf
