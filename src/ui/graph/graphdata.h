#pragma once

#include "platform/gridmodel.h"

#include <QByteArrayView>
#include <QList>

// The games the graph window draws: the selected rows of the recent table, oldest first,
// as text cells. Placeholder rows are left out; the table never changes once built.
class GraphData {
public:
    static constexpr int Columns = 25;

    GraphData() = default;
    // selectedRows: the selected rows of the recent grid, top (newest) to bottom.
    explicit GraphData(GridRows selectedRows);

    int rowCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }

    bool hasValue(int row, int column) const { return !text(row, column).isEmpty(); }
    // The number the cell begins with; 0 for an empty or non-numeric cell.
    double value(int row, int column) const;

private:
    // Empty outside the table.
    QByteArrayView text(int row, int column) const;

    GridRows m_selected;
    QList<int> m_rows; // rows of m_selected, oldest first
};
