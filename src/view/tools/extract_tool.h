#pragma once
// The tools that act on a click, on the processed picture: a click (a press
// and a release over the picture) names the pixel of a curve to extract, or a
// tick whose value the widget then asks for.

#include "common/geometry.h"
#include "view/tools/tool_result.h"
#include "view/view_state.h"

namespace qf {

// The release of a click at the window point: r.clickedAt is the image pixel
// under it, none beside the picture or outside the client.
void releaseClick(const ViewState& s, IntPoint window, IntSize client, ToolResult& r);

}  // namespace qf
