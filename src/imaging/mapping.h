#pragma once
// Straightening a photographed chart: the four corners of its plot area on the
// input image are mapped onto the graph rectangle of the output image.

#include <array>
#include <cstdint>
#include <optional>

#include "common/geometry.h"
#include "common/mapping_geometry.h"
#include "imaging/image_pair.h"

namespace qf {

// What is drawn over the input picture beside the mapping's geometry (which
// the document holds): the guide quadrilateral, derived from the corners, and
// the grid of the mapping.
struct MappingGuide {
    Quad innerQuad{{{60, 60}, {100, 60}, {100, 80}, {60, 80}}};  // guide quadrilateral
    bool showMappingGrid = true;
    int32_t mappingGridDivisions = 10;
};

// The projective transform from the unit square to a quadrilateral: (0, 0),
// (1, 0), (1, 1) and (0, 1) go to the corners in their order, image pixel
// indices taken as points (a pixel's index is its centre).
struct Homography {
    double a = 1, b = 0, c = 0;  // x = (a u + b v + c) / (g u + h v + 1)
    double d = 0, e = 1, f = 0;  // y = (d u + e v + f) / (g u + h v + 1)
    double g = 0, h = 0;
    double x(double u, double v) const { return (a * u + b * v + c) / (g * u + h * v + 1.0); }
    double y(double u, double v) const { return (d * u + e * v + f) / (g * u + h * v + 1.0); }
};

// Empty when the corners do not make a convex quadrilateral in their order
// (a crossed, folded or collapsed one has no such transform).
std::optional<Homography> squareToQuad(const Quad& corners);

// Whether the corners make a parallelogram (its diagonals halve each other)
// within a pixel or two: there the bilinear mapping straightens as well as
// the perspective one; elsewhere (a photograph taken at a slant) it bends
// straight lines.
bool isNearParallelogram(const Quad& corners);

// Default geometry for a w x h image: corners inset by min(w, h) / 6, graph
// rectangle by min(w, h) / 8, axis rectangle by twice that. The method stays.
void resetMappingForImage(int w, int h, MappingGeometry& mapping, IntRect& axisRect);

// The guide quadrilateral: the quadrilateral's points at the fractions a / 2
// and 1 - a / 2 across and b / 2 and 1 - b / 2 down. Empty when the left edge
// is shorter than a pixel or the right edge has no vertical extent (the guide
// then stays as it was), and when a or b is not finite.
std::optional<Quad> computeInnerQuad(const Quad& corners, double a, double b);

// The same points for the chosen method: the perspective guide is the
// transform's image of the shrunk rectangle, rounded to the nearest pixel,
// and empty where the transform is.
std::optional<Quad> computeInnerQuad(const Quad& corners, double a, double b, MappingMethod method);

// Recomputes the guide from the corners for the current graph rectangle
// (20 pixels inside it on every side), keeping it when that is impossible.
void updateInnerQuad(const MappingGeometry& mapping, MappingGuide& guide);

// A point of the perspective guide: the transform's point at fractions s
// across and t down the guide (the graph rectangle 20 pixels in on every
// side), rounded to the nearest pixel. Empty when the corners have no
// transform or the graph rectangle is empty.
std::optional<IntPoint> perspectiveGuidePoint(const MappingGeometry& mapping, double s, double t);

// Rebuilds the output from the input: the corners' quadrilateral sampled
// (nearest, no interpolation) onto the graph rectangle by the geometry's method,
// white elsewhere and where a sample falls outside the input. A degenerate
// quadrilateral leaves the input's pixels inside the rectangle. Parts of the
// rectangle outside the image are skipped. Nothing happens while no image is
// present.
//
// The perspective method sends output pixel (left + j, top + i) to the
// transform's point at (j / width, i / height) and takes the input pixel
// nearest to it (or interpolates, as the geometry's sampling says), so the corners land exactly on
// the rectangle's corners (the bottom and right ones just past its last row and column, as with the
// bilinear method).
void runMapping(ImagePair& images, CurrentImage current, const MappingGeometry& geometry);

// The input straightened by the geometry as the working picture is, over
// the graph rectangle widened by `margin` pixels on each side, where the
// corners placed on a plot's frame cut off the tick labels beside it. Pixel
// (x, y) of the result is pixel (x + left - margin, y + top - margin) of
// the working picture; white beyond the input; interpolated. Empty when the
// corners map nothing.
cv::Mat straightenedAround(const cv::Mat& input, const MappingGeometry& geometry, int margin);

}  // namespace qf
