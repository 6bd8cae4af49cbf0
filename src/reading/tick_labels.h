#pragma once
// Finding the tick labels beside a chart's bottom and left axes and reading
// them with text recognition.

#include <opencv2/core.hpp>
#include <vector>

#include "reading/axis_reading.h"

namespace qf {

// Labels beside both axes, their multipliers applied; positions not yet paired
// with ticks (the label's centre). `ocrSeconds` gets the recognition's time.
std::vector<TickLabel> readTickLabels(const cv::Mat& grey, const cv::Mat& mask, const PlotFrame& frame,
                                      double& ocrSeconds, std::string& ocrError);

}  // namespace qf
