#pragma once
// The plot frame's corners on a photograph of a chart, for the perspective
// mapping's corners.

#include <array>
#include <opencv2/core.hpp>
#include <string>

#include "common/geometry.h"

namespace qf {

struct FrameCorners {
    bool found = false;
    std::string reason;
    // Top-left, top-right, bottom-right, bottom-left (the order of Quad), to
    // a fraction of a pixel, and rounded.
    std::array<cv::Point2d, 4> precise{};
    Quad corners{};
};

// The corners of the plot frame on a photograph of a chart: where the four
// frame lines, fitted along their length, meet. With only the left and
// bottom axes drawn, the top-left and bottom-right corners are where the
// axes end, and the sides they lack head for the points where the axes
// meet the horizon, which the spacing of their tick marks gives.
FrameCorners findFrameCorners(const cv::Mat& photo);

}  // namespace qf
