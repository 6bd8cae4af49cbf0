#pragma once
// The settings of the automatic curve extraction, kept with the document.

namespace qf {

inline constexpr int kMinExtractionTolerance = 1;
inline constexpr int kMaxExtractionTolerance = 255;
inline constexpr int kMaxExtractionCount = 128;  // as many points as a fit takes
inline constexpr int kMaxExtractionGap = 100;

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

}  // namespace qf
