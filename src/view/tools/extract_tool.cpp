#include "view/tools/extract_tool.h"

#include "common/view_transform.h"

namespace qf {

void releaseClick(const ViewState& s, IntPoint window, IntSize client, ToolResult& r) {
    const ImagePointResult p = ImagePointOf(s.transform, window, client, s.imageSize());
    if (p.ok) r.clickedAt = p.point;
}

}  // namespace qf
