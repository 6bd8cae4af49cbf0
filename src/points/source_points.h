#pragma once
// The digitised points of the curve: pixel positions in the order they were
// added, at most 256.

#include <array>
#include <cstdint>

#include "common/geometry.h"

namespace qf {

inline constexpr int kMaxSourcePoints = 256;

struct SourcePointList {
    std::array<SourcePoint, kMaxSourcePoints> points{};
    int32_t pointCount = 0;
    int32_t selectedPoint = -1;  // row selected in the point list, -1 for none

    // Appends p; returns its index, or -1 when the list is full.
    int32_t add(SourcePoint p);

    // Removes point i; later points move down one place, keeping their order.
    // Returns false for an index outside the list.
    bool remove(int32_t i);
};

}  // namespace qf
