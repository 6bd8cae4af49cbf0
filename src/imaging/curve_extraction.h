#pragma once
// Finding a curve by its colour: from one click on the curve, the points of
// that curve inside the axis rectangle of the working picture.

#include <opencv2/core.hpp>

#include <cstdint>
#include <string>
#include <vector>

#include "common/geometry.h"

namespace qf {

struct ExtractionSettings {
    // Largest colour difference still taken as the curve's colour, per
    // channel of CIE L*a*b* (0..255 each, as OpenCV scales 8-bit Lab).
    int tolerance = 40;
    // Points placed along a line (markers give one point each).
    int count = 20;
    // Longest gap (pixels) bridged between the pieces of a dashed or dotted line.
    int gap = 8;
    friend bool operator==(const ExtractionSettings&, const ExtractionSettings&) = default;
};

inline constexpr int kMinExtractionTolerance = 1;
inline constexpr int kMaxExtractionTolerance = 255;
inline constexpr int kMaxExtractionCount = 128;  // as many points as a fit takes
inline constexpr int kMaxExtractionGap = 100;

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

}  // namespace qf
