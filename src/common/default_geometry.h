#pragma once
// Where the corners, the graph rectangle and the axis rectangle start on a
// newly opened picture of w x h: inset by a sixth, an eighth and a quarter of
// its shorter side.

#include <algorithm>

#include "common/geometry.h"

namespace qf {

struct DefaultGeometry {
    Quad corners;
    IntRect graphRect;
    IntRect axisRect;
};

inline DefaultGeometry defaultGeometryFor(int w, int h) {
    const int m = std::min(w / 6, h / 6);
    const int n = std::min(w / 8, h / 8);
    return {{{{m, m}, {w - m, m}, {w - m, h - m}, {m, h - m}}},
            {n, n, w - n, h - n},
            {2 * n, 2 * n, w - 2 * n, h - 2 * n}};
}

}  // namespace qf
