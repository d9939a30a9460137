#include "ui/graph/thinnedpolyline.h"

const std::vector<ThinnedPolyline::Point> &ThinnedPolyline::points() {
    endColumn();
    return m_points;
}

void ThinnedPolyline::endColumn() {
    if (m_inColumn == 0)
        return;
    m_points.push_back(m_first);
    if (m_inColumn > 1) {
        // The extremes in the order the line reaches them.
        if (m_topRank < m_bottomRank)
            m_points.insert(m_points.end(), {m_top, m_bottom});
        else
            m_points.insert(m_points.end(), {m_bottom, m_top});
        m_points.push_back(m_last);
    }
    m_inColumn = 0;
}

void ThinnedPolyline::clear() {
    m_points.clear();
    m_values = m_inColumn = 0;
}
