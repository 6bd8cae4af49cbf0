#pragma once
// Finding a curve by its colour: from one click on the curve, the points of
// that curve inside the axis rectangle of the working picture.

#include <opencv2/core.hpp>

#include <cstdint>
#include <functional>
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
    bool cancelled = false;  // stopped by the caller; `error` says so
    // Pixels examined (looked at, converted, labelled): never more than
    // extractionWorkBound of the axis rectangle, whatever the picture.
    int64_t work = 0;
};

// Asked now and then while an extraction runs (every few thousand pixels
// examined); true stops it with a cancelled result. Must be cheap.
using ExtractionCancel = std::function<bool()>;

// The most pixel examinations an extraction of an axis rectangle of `pixels`
// pixels makes, whatever the picture and the settings: the work grows with
// the area only, not with the bridged gap or the number of points.
inline constexpr int64_t kExtractionWorkPerPixel = 16;
inline constexpr int64_t kExtractionWorkBase = 1 << 15;
constexpr int64_t extractionWorkBound(int64_t pixels) {
    return kExtractionWorkPerPixel * pixels + kExtractionWorkBase;
}

// Extracts the curve through `seed` (a pixel of the picture) inside the axis
// rectangle (its right and bottom edges included: they carry Xmax and Ymin).
// The picture is 8-bit BGR. On failure nothing is returned but the reason.
ExtractionResult extractCurve(const cv::Mat& picture, const IntRect& axisRect, IntPoint seed,
                              const ExtractionSettings& settings,
                              const ExtractionCancel& cancel = {});

// A project that asks for an extraction: the points extracted through `seed`
// go before its listed `points`. On failure `points` stay as they were and
// the reason is returned; empty when done.
std::string extractBeforeListed(const cv::Mat& picture, const IntRect& axisRect, IntPoint seed,
                                const ExtractionSettings& settings,
                                std::vector<SourcePoint>& points);

}  // namespace qf
