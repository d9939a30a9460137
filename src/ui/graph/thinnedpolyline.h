#pragma once

#include <QPointF>
#include <QPolygonF>

// A line through many values in pixel coordinates, thinned to what one pixel column can show:
// where values crowd into a column, its first, highest, lowest and last points cover the same
// pixels as all of them, so a chart of a million games draws as fast as one of a few hundred.
class ThinnedPolyline {
public:
    // The number of values added, before thinning.
    int values() const { return m_values; }

    void add(const QPointF &point);
    const QPolygonF &points();

private:
    void flushColumn();

    QPolygonF m_points;
    int m_values = 0;
    int m_column = 0;
    int m_inColumn = 0;
    QPointF m_first;
    QPointF m_top;
    QPointF m_bottom;
    QPointF m_last;
    int m_topRank = 0;
    int m_bottomRank = 0;
};
