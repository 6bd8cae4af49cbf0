#pragma once
// What the view draws over the image for the active mouse tool: the mapping
// corners with their guide quadrilateral and grid (corner tool, input shown),
// the graph rectangle with the axis lines and their names (graph-rectangle
// tool, output shown), or the source points with the axis frame (point
// tools, output shown). At most one of them shows at a time.
//
// Takes the viewport's painter in window coordinates, like the image display;
// the geometry is computed in logical coordinates (window + scroll position)
// and the painter is translated for it internally. Every image pixel is drawn
// at the centre of the window cell it covers.

#include <QFont>
#include <QPainter>
#include <cstdint>

#include "common/view_transform.h"
#include "view/view_state.h"

namespace qf {

inline constexpr uint32_t kMappingOverlayColour = 0x4040FF;    // light red
inline constexpr uint32_t kGraphRectOverlayColour = 0xFF4040;  // light blue
inline constexpr uint32_t kPointInsideColour = 0x0000FF;       // red; also the cross-hair
inline constexpr uint32_t kPointOutsideColour = 0xFF0000;      // blue; also the axis frame
inline constexpr uint32_t kExtractPreviewColour = 0xC800C8;    // magenta: found, not yet added
inline constexpr uint32_t kLabelUsedColour = 0x008C00;         // green: a tick label the axes use
inline constexpr uint32_t kLabelRejectedColour = 0x0000C8;     // red: read, not used

// The three tool overlays in their order, then the tick labels the last
// automatic axis reading saw. The painter's state is restored.
void paintOverlays(QPainter& painter, const ViewState& state, IntSize clientSize,
                   const QFont& labelFont);

}  // namespace qf
