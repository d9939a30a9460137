#pragma once

#include <vector>

// A line through many values, thinned to what one pixel column can show (min/max decimation):
// where values crowd into a column, its first, highest, lowest and last points cover the same
// pixels as all of them, so a chart of a million games draws as fast as one of a few hundred. A
// point is kept as its row, whose x only the few kept points need.
class ThinnedPolyline {
public:
    struct Point {
        int row;
        double y; // in pixels, down
    };

    // The number of values added, before thinning.
    int values() const { return m_values; }

    // Inline: the chart adds every value of every series. Rows come in order.
    void add(int row, double y) {
        const Point point{row, y};
        if (m_inColumn == 0) {
            m_first = m_top = m_bottom = point;
            m_topRank = m_bottomRank = 0;
        } else if (y < m_top.y) {
            m_top = point;
            m_topRank = m_inColumn;
        } else if (y > m_bottom.y) {
            m_bottom = point;
            m_bottomRank = m_inColumn;
        }
        m_last = point;
        ++m_inColumn;
        ++m_values;
    }
    // The values added next lie in another pixel column.
    void endColumn();
    const std::vector<Point> &points();
    // Starts a new line, keeping the memory of this one.
    void clear();

private:
    std::vector<Point> m_points;
    int m_values = 0;
    int m_inColumn = 0;
    Point m_first{};
    Point m_top{};
    Point m_bottom{};
    Point m_last{};
    int m_topRank = 0;
    int m_bottomRank = 0;
};
