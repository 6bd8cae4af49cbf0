#pragma once
// Views with a picture and a tool, and a drag through pixel centres, for the
// tests of the mouse tools.

#include <initializer_list>

#include "view/tools/mouse_tools.h"
#include "view/view_state.h"

namespace qf::tools_test {

inline constexpr IntSize kClient{400, 300};
inline constexpr IntPoint kNoAnchor{-1, -1};

enum class Shown { Input = 1, Output = 2 };

// A view showing a w x h picture at zoom z, scrolled to the top-left.
inline ViewState viewOf(IntSize image, int32_t zoom = 0, Shown shown = Shown::Input) {
    ViewState s;
    s.images.inputImage = cv::Mat(image.cy, image.cx, CV_8UC3, cv::Scalar(255, 255, 255));
    s.images.outputImage = s.images.inputImage.clone();
    s.display.displaySource = static_cast<int>(shown);
    s.display.currentImage = shown == Shown::Output ? CurrentImage::Output : CurrentImage::Input;
    s.transform.zoomShift = zoom;
    const ScrollSizes sizes = scrollSizesFor(zoom, image);
    s.transform.displaySize = sizes.total;
    s.transform.cellSize = sizes.cell;
    return s;
}

inline ViewState withTool(Shown shown, Tool tool, IntSize image = {200, 150}, int32_t zoom = 0) {
    ViewState s = viewOf(image, zoom, shown);
    s.tools.tool = tool;
    return s;
}

inline ViewState cornerTool(IntSize image = {200, 150}, int32_t zoom = 0) {
    return withTool(Shown::Input, Tool::Corners, image, zoom);
}
inline ViewState graphRectTool(IntSize image = {200, 150}, int32_t zoom = 0) {
    return withTool(Shown::Output, Tool::GraphRect, image, zoom);
}
inline ViewState addTool(IntSize image = {200, 150}, int32_t zoom = 0) {
    return withTool(Shown::Output, Tool::AddPoints, image, zoom);
}
inline ViewState eraseTool(IntSize image = {200, 150}, int32_t zoom = 0) {
    return withTool(Shown::Output, Tool::ErasePoints, image, zoom);
}

inline IntPoint centreOf(const ViewState& s, IntPoint image) {
    return CellCentreOf(s.transform, image);
}

// Press at one pixel's centre, move through the others' centres, release at
// the last.
inline ToolResult dragPixels(ViewState& s, IntPoint from, std::initializer_list<IntPoint> through,
                             IntSize client = kClient) {
    leftButtonDown(s, centreOf(s, from), client);
    IntPoint last = from;
    for (IntPoint p : through) {
        mouseMove(s, centreOf(s, p), {true, false}, client);
        last = p;
    }
    return leftButtonUp(s, centreOf(s, last), client);
}

}  // namespace qf::tools_test
