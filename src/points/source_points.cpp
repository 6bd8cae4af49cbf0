#include "points/source_points.h"

#include <algorithm>

namespace qf {

int32_t SourcePointList::add(SourcePoint p) {
    if (m_pointCount < 0 || m_pointCount >= kMaxSourcePoints) return -1;
    m_points[m_pointCount] = p;
    return m_pointCount++;
}

bool SourcePointList::remove(int32_t i) {
    if (i < 0 || i >= m_pointCount) return false;
    std::copy(m_points.begin() + i + 1, m_points.begin() + m_pointCount, m_points.begin() + i);
    --m_pointCount;
    return true;
}

}  // namespace qf
