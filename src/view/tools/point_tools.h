#pragma once
// The add-points and erase-points tools, on the processed picture. A point
// is placed only inside the picture's outermost rows and columns; erasing
// takes the points under the press, then those strictly inside the region
// dragged open. Window points are viewport coordinates, image points pixels
// of the picture.

#include <cstdint>

#include "common/geometry.h"
#include "view/tools/tool_result.h"
#include "view/view_state.h"

namespace qf {

// Selects the point under the window point, or else appends the pressed
// pixel to the list (a full list ignores the click).
void pressAdd(ViewState& s, IntPoint window, IntPoint image, ToolResult& r);
// Removes every point under the window point and starts a region there.
void pressErase(ViewState& s, IntPoint window, IntPoint image, ToolResult& r);
// Removes the points strictly inside the region from the press to the
// release.
void releaseErase(ViewState& s, ToolResult& r);
// Moves the selected point by (dx, dy) image pixels, where a click may place
// one; false when none is selected or it cannot go further.
bool nudgePoint(ViewState& s, int32_t dx, int32_t dy, ToolResult& r);

}  // namespace qf
