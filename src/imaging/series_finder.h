#pragma once
// Every series of a chart without a click: the distinct colours drawn
// inside the axis rectangle, and for each the curves or markers of that
// colour, each as an extraction with a click that gives it again.

#include <opencv2/core.hpp>

#include <string>
#include <vector>

#include "common/extraction_settings.h"
#include "common/geometry.h"
#include "imaging/curve_extraction.h"

namespace qf {

struct FoundSeries {
    ExtractionResult extraction;  // ok, with its points, kind and colour (BGR)
    // A plain English name of the colour ("blue", "orange", "black", ...),
    // for the caller to translate.
    std::string colourName;
    // A click on the series: extractCurve from it finds the same series.
    IntPoint seed;
    // Another series found has the same colour (a solid and a dashed curve,
    // say): where they cross or touch, each may need a click of its own.
    bool sharesColour = false;
    // What the user should know about this series, in plain English for
    // the caller to translate, like the colour's name; empty when nothing.
    std::string note;
};

// The series inside the axis rectangle of an 8-bit BGR picture, left out:
// the ground, the frame, axis and grid lines, text, legends. In the order
// of how much of the picture each colour covers. Empty when nothing like a
// curve is there, or when cancelled.
std::vector<FoundSeries> extractEverySeries(const cv::Mat& picture, const IntRect& axisRect,
                                            const ExtractionSettings& settings,
                                            const ExtractionCancel& cancel = {});

// The plain English name of a colour (BGR).
std::string colourName(const cv::Vec3b& bgr);

}  // namespace qf
