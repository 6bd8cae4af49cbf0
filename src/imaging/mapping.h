#pragma once
// Straightening a photographed chart: the four corners of its plot area on the
// input image are mapped onto the graph rectangle of the output image.

#include <array>
#include <cstdint>
#include <optional>

#include "common/geometry.h"
#include "imaging/image_pair.h"

namespace qf {

// Geometry in image pixels. The axis rectangle is not here: it lives in
// AxisSettings, where the calibration reads it, and the functions that reset
// it take it by reference.
struct MappingQuad {
    Quad m_mappingCorners{{{40, 40}, {120, 40}, {120, 100}, {40, 100}}};
    Quad m_innerQuad{{{60, 60}, {100, 60}, {100, 80}, {60, 80}}};  // guide quadrilateral
    int32_t m_showMappingGrid = 1;
    int32_t m_mappingGridDivisions = 10;
    IntRect m_graphRect{40, 40, 120, 100};  // right and bottom exclusive
};

// Default geometry for a w x h image: corners inset by min(w, h) / 6, graph
// rectangle by min(w, h) / 8, axis rectangle by twice that, guide recomputed.
void resetMappingForImage(int w, int h, MappingQuad& mapping, IntRect& axisRect);

// The guide quadrilateral: the quadrilateral's points at the fractions a / 2
// and 1 - a / 2 across and b / 2 and 1 - b / 2 down. Empty when the left edge
// is shorter than a pixel or the right edge has no vertical extent (the guide
// then stays as it was), and when a or b is not finite.
std::optional<Quad> computeInnerQuad(const Quad& corners, double a, double b);

// Recomputes the guide from the corners for the current graph rectangle
// (20 pixels inside it on every side), keeping it when that is impossible.
void updateInnerQuad(MappingQuad& mapping);

// Rebuilds the output from the input: the corners' quadrilateral sampled
// (nearest, no interpolation) onto the graph rectangle, white elsewhere and
// where a sample falls outside the input. A degenerate quadrilateral leaves
// the input's pixels inside the rectangle. Parts of the rectangle outside the
// image are skipped. Nothing happens while no image is present.
void runMapping(ImagePair& images, CurrentImage current, const MappingQuad& mapping);

}  // namespace qf
