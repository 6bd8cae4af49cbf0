#pragma once
// The extraction tool, on the processed picture: a click (a press and a
// release over the picture) names the pixel of a curve, and the widget runs
// the extraction from it, which may take a moment and may have to say why
// nothing was found.

#include "common/geometry.h"
#include "view/tools/tool_result.h"
#include "view/view_state.h"

namespace qf {

// The release of a click at the window point: r.extractAt is the image pixel
// under it, none beside the picture or outside the client.
void releaseExtract(const ViewState& s, IntPoint window, IntSize client, ToolResult& r);

}  // namespace qf
