#include "points/source_points.h"

namespace qf {

int32_t addSourcePoint(std::vector<SourcePoint>& points, SourcePoint p) {
    if (points.size() >= std::size_t(kMaxSourcePoints)) return -1;
    points.push_back(p);
    return int32_t(points.size()) - 1;
}

bool removeSourcePoint(std::vector<SourcePoint>& points, int32_t i) {
    if (i < 0 || std::size_t(i) >= points.size()) return false;
    points.erase(points.begin() + i);
    return true;
}

}  // namespace qf
