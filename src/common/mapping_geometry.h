#pragma once
// The geometry of one mapping run: the quadrilateral on the input picture,
// the rectangle it is carried onto, and how.

#include "common/geometry.h"
#include "common/mapping_method.h"

namespace qf {

struct MappingGeometry {
    Quad corners{{{40, 40}, {120, 40}, {120, 100}, {40, 100}}};  // on the input picture
    IntRect graphRect{40, 40, 120, 100};                         // right and bottom exclusive
    MappingMethod method = MappingMethod::Bilinear;
    MappingSampling sampling = MappingSampling::Nearest;  // perspective only
    friend bool operator==(const MappingGeometry&, const MappingGeometry&) = default;
};

}  // namespace qf
