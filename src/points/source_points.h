#pragma once
// The digitised points of the curve: pixel positions in the order they were
// added, at most 256.

#include <cstdint>
#include <vector>

#include "common/geometry.h"

namespace qf {

inline constexpr int kMaxSourcePoints = 256;

// Appends p; returns its index, or -1 when the list is full.
int32_t addSourcePoint(std::vector<SourcePoint>& points, SourcePoint p);

// Removes point i; later points move down one place, keeping their order.
// Returns false for an index outside the list.
bool removeSourcePoint(std::vector<SourcePoint>& points, int32_t i);

}  // namespace qf
