#pragma once
// One colour of the axis rectangle at the working scale, and what the
// extraction does with it: straight lines and specks are taken out, then
// the curve through a seed is followed or its markers gathered.

#include <opencv2/core.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

#include "imaging/curve_extraction.h"
#include "imaging/curve_trace.h"

namespace qf::extraction {

inline constexpr uint8_t kHiddenInk = 255, kHiddenLine = 200, kHiddenFaint = 128;
// The largest marker, in pixels of the picture.
inline constexpr int kMaxMarkerSide = 30;

struct Planes {
    cv::Mat curve;  // 8-bit, 255 on the colour
    // 8-bit: where something drawn could hide the curve, kHiddenInk (other
    // colours and ink), kHiddenLine (the colour's own straight lines) or
    // kHiddenFaint (a faint tint); else 0.
    cv::Mat hidden;
    int scale = 1;  // picture pixels per working pixel, across and down
    cv::Size area;  // the rectangle's size in picture pixels
    // The picture pixel (in the rectangle) a working position stands for.
    cv::Point pictureAt(double x, double y) const {
        const auto at = [this](double v, int size) {
            return std::clamp(int(std::lround(v * scale + (scale - 1) / 2.0)), 0, size - 1);
        };
        return {at(x, area.width), at(y, area.height)};
    }
};

// Colour k of a classified raster (see classify); everything else drawn,
// other colours and ink alike, is what could hide it.
Planes planesOf(const cv::Mat& classBits, int k, int scale, cv::Size area, WorkMeter& work);

// Rows and columns of the colour that run across much of the rectangle
// (the frame, axis and grid lines, solid or dashed) move from the curve to
// the hidden plane. With a seed: if it lies on such a line it moves to a
// pixel of the colour beside the line; with none near, the line is what
// was clicked and stays. A click on a marker takes only rows and columns
// the colour covers whole (a row of markers fills a row in part).
void clearStraightLines(Planes& planes, cv::Point* seed, WorkMeter& work, bool onMarker = false);

// The 8-connected pieces of the curve plane; specks are taken out of it.
struct PieceMap {
    cv::Mat labels;  // CV_32S
    cv::Mat stats;   // cv::connectedComponentsWithStats
    int count = 0;
};
bool mapPieces(Planes& planes, PieceMap& pieces, WorkMeter& work);

// Specks out of the curve plane without mapping its pieces: a pixel with
// kSpeckPixels or fewer of the colour in the 5 x 5 pixels around it (a
// click needs the pieces only for markers).
bool clearSpecks(Planes& planes, WorkMeter& work);

// The 8-connected piece of the curve plane through p, measured only as far
// as `limit` pixels.
struct PieceBox {
    cv::Rect box;
    int64_t area = 0;
    bool complete = true;  // false: larger than the limit
};
PieceBox pieceThrough(const Planes& planes, cv::Point p, int64_t limit, WorkMeter& work);

// A curve followed across the columns of the working raster.
struct Followed {
    std::vector<float> y;          // the curve's row in each column; NaN off it
    std::vector<uint8_t> kind;     // kOff, kSeen, kBridged
    std::vector<cv::Vec2i> taken;  // the rows of a seen column that are the curve's
    static constexpr uint8_t kOff = 0, kSeen = 1, kBridged = 2;
};

// The extraction through `seed` (a working pixel on the curve plane):
// markers or a line, as extractCurve returns it without its colour. With
// `pieces` null they are mapped only if the seed's piece could be a
// marker. `followed`, when given, receives the line followed; with
// `markers` false the seed is taken for a line's whatever its piece.
ExtractionResult extractInPlanes(Planes& planes, const PieceMap* pieces, cv::Point seed,
                                 cv::Point origin, int count, int reach, WorkMeter& work,
                                 Followed* followed = nullptr, bool markers = true);

// Follows the curve through `seed` both ways: each column takes the run of
// the colour nearest where the curve's position and slope lead, so a curve
// of the same colour crossing it is passed by; runs parted only by hidden
// pixels are one; across a stretch hidden by other lines or by the
// colour's own straight lines it goes on as it came. Gaps of up to `reach`
// working pixels are bridged.
Followed followCurve(const Planes& planes, cv::Point seed, int reach, WorkMeter& work);

// Markers like the one through `seed`: empty unless that piece is one.
// Each marker is a piece of the colour together with the hidden pixels
// beside it (a line drawn over a marker cuts it); a piece at the
// rectangle's edge may be clipped; one with text beside it is a legend's.
std::vector<cv::Point2d> findMarkers(const Planes& planes, const PieceMap& pieces, cv::Point seed,
                                     WorkMeter& work);

}  // namespace qf::extraction
