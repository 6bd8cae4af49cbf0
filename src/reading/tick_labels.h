#pragma once
// Finding the tick labels beside a chart's bottom and left axes and reading
// them with text recognition.

#include <opencv2/core.hpp>
#include <vector>

#include "reading/axis_reading.h"

namespace qf {

struct LabelsRead {
    // Labels beside both axes, their multipliers applied; positions not yet
    // paired with ticks (the label's centre).
    std::vector<TickLabel> labels;
    std::string xRefusal, yRefusal;  // why an axis's labels cannot be trusted
    std::string ocrError;            // recognition itself is not available
    double ocrSeconds = 0;
};

LabelsRead readTickLabels(const cv::Mat& grey, const cv::Mat& mask, const PlotFrame& frame);

}  // namespace qf
