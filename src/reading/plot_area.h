#pragma once
// The plot area of a chart drawn without dark axis lines (ggplot, seaborn,
// bmh, fivethirtyeight styles; gnuplot without a border): its filled
// background, the extent of its light grid, and the tick marks along its
// edges. Used by findPlotFrame when it finds no axis lines.

#include <opencv2/core.hpp>

#include "reading/plot_frame.h"

namespace qf {

// `mask` is darkMask(grey). Not found, with a reason, when the chart shows
// neither a filled plot background nor a grid spanning it.
PlotFrame findPlotArea(const cv::Mat& grey, const cv::Mat& mask);

// The tick marks along the bottom edge (rows b0..b1) and the left edge
// (columns l0..l1) of frame.axisRect: frame.xTicks, yTicks and how far they
// reach outside; the marks that reach outside also into xOutward, yOutward.
void measureTicks(PlotFrame& frame, const cv::Mat& grey, const cv::Mat& mask, int b0, int b1,
                  int l0, int l1, std::vector<double>* xOutward = nullptr,
                  std::vector<double>* yOutward = nullptr);

}  // namespace qf
