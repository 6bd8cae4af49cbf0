#pragma once
// Finding a curve by its colour: from one click on the curve, the points of
// that curve inside the axis rectangle of the working picture.

#include <opencv2/core.hpp>

#include <cstdint>
#include <string>
#include <vector>

#include "common/extraction_settings.h"
#include "common/geometry.h"

namespace qf {

enum class ExtractedKind { Line, Markers };

struct ExtractionResult {
    bool ok = false;
    std::string error;  // why nothing was found; empty when ok
    ExtractedKind kind = ExtractedKind::Line;
    std::vector<SourcePoint> points;  // left to right
    cv::Vec3b colour;                 // the curve's colour as picked (BGR)
    // Markers found beyond the 128 a fit takes: evenly spaced ones were kept.
    int found = 0;
    bool thinned = false;
};

// Extracts the curve through `seed` (a pixel of the picture) inside the axis
// rectangle (its right and bottom edges included: they carry Xmax and Ymin).
// The picture is 8-bit BGR. On failure nothing is returned but the reason.
ExtractionResult extractCurve(const cv::Mat& picture, const IntRect& axisRect, IntPoint seed,
                              const ExtractionSettings& settings);

// A project that asks for an extraction: the points extracted through `seed`
// go before its listed `points`. On failure `points` stay as they were and
// the reason is returned; empty when done.
std::string extractBeforeListed(const cv::Mat& picture, const IntRect& axisRect, IntPoint seed,
                                const ExtractionSettings& settings,
                                std::vector<SourcePoint>& points);

}  // namespace qf
