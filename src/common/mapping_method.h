#pragma once
// How the corners' quadrilateral is carried onto the graph rectangle.

#include <cstdint>

namespace qf {

enum class MappingMethod : int32_t {
    // Interpolates along the left and right edges and then across each row:
    // exact for a chart photographed square on, it leaves a tilted camera's
    // foreshortening in (equal steps on the chart come out unequal).
    Bilinear = 0,
    // The projective transform that sends the four corners to the
    // rectangle's corners: straight lines stay straight and equal steps on
    // the chart stay equal, whatever the camera's tilt.
    Perspective = 1,
};

// How the perspective mapping reads the input at a sample's point.
enum class MappingSampling : int32_t {
    // The pixel nearest to the point, as the bilinear mapping takes it.
    Nearest = 0,
    // The four pixels around the point weighed by its distance from them:
    // a line keeps its position to a fraction of a pixel instead of moving
    // by up to half a pixel where the nearest pixel changes.
    Interpolated = 1,
};

}  // namespace qf
