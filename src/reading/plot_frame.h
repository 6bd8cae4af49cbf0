#pragma once
// The plot area of a chart: its axis lines (or frame) and the tick marks on
// the bottom and left axes.

#include <opencv2/core.hpp>
#include <string>
#include <vector>

#include "common/geometry.h"

namespace qf {

struct PlotFrame {
    bool found = false;
    std::string reason;  // why not found, in English
    // Left and bottom: the axis lines' columns and rows; right and top: where
    // the bottom and left axes end (the frame's other sides when drawn).
    IntRect axisRect;
    bool hasTop = false;    // a line along the top edge
    bool hasRight = false;  // and along the right edge
    std::vector<double>
        xTicks;  // columns of the bottom axis's tick marks, to a fraction of a pixel
    std::vector<double> yTicks;  // rows of the left axis's tick marks
    int xTickOutside = 0;        // how far the ticks reach outside the axes, in pixels
    int yTickOutside = 0;
    int lineWidth = 1;
};

// Dark pixels against the picture's local background, 255 where dark: the
// lines and text of a chart under uneven light, not its light grid.
cv::Mat darkMask(const cv::Mat& grey);
cv::Mat toGrey(const cv::Mat& picture);

// Finds the plot area of a straight (or straightened) chart.
PlotFrame findPlotFrame(const cv::Mat& picture);

}  // namespace qf
