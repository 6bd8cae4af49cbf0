#include "points/source_points.h"

#include <algorithm>

namespace qf {

int32_t SourcePointList::add(SourcePoint p) {
    if (pointCount < 0 || pointCount >= kMaxSourcePoints) return -1;
    points[pointCount] = p;
    return pointCount++;
}

bool SourcePointList::remove(int32_t i) {
    if (i < 0 || i >= pointCount) return false;
    std::copy(points.begin() + i + 1, points.begin() + pointCount, points.begin() + i);
    --pointCount;
    return true;
}

}  // namespace qf
