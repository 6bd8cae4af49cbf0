#pragma once
// Small integer geometry shared by the core: image pixels are (column, row),
// rows growing downward; rectangles are (left, top, right, bottom) with right
// and bottom exclusive in pixel loops and hit tests.

#include <array>
#include <cstdint>

namespace qf {

struct IntPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const IntPoint&, const IntPoint&) = default;
};

struct IntRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    friend bool operator==(const IntRect&, const IntRect&) = default;
};

// Corners in the order top-left, top-right, bottom-right, bottom-left: the
// left edge runs from [0] to [3], the right edge from [1] to [2].
using Quad = std::array<IntPoint, 4>;

// One digitised point of the curve, stored as its pixel position on the
// working image; its values follow from the axis settings whenever needed.
struct SourcePoint {
    int32_t h = 0;  // column
    int32_t v = 0;  // row
    friend bool operator==(const SourcePoint&, const SourcePoint&) = default;
};

}  // namespace qf
