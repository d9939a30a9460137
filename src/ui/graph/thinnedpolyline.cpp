#include "ui/graph/thinnedpolyline.h"

#include <cmath>

void ThinnedPolyline::add(const QPointF &point) {
    const int column = int(std::floor(point.x()));
    if (m_inColumn > 0 && column != m_column)
        flushColumn();
    if (m_inColumn == 0) {
        m_column = column;
        m_first = m_top = m_bottom = point;
        m_topRank = m_bottomRank = 0;
    } else if (point.y() < m_top.y()) {
        m_top = point;
        m_topRank = m_inColumn;
    } else if (point.y() > m_bottom.y()) {
        m_bottom = point;
        m_bottomRank = m_inColumn;
    }
    m_last = point;
    ++m_inColumn;
    ++m_values;
}

const QPolygonF &ThinnedPolyline::points() {
    flushColumn();
    return m_points;
}

void ThinnedPolyline::flushColumn() {
    if (m_inColumn == 0)
        return;
    m_points.append(m_first);
    if (m_inColumn > 1) {
        // The extremes in the order the line reaches them.
        if (m_topRank < m_bottomRank)
            m_points << m_top << m_bottom;
        else
            m_points << m_bottom << m_top;
        m_points.append(m_last);
    }
    m_inColumn = 0;
}
