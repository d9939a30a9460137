#include "ui/graph/graphdata.h"

#include "entry/numbertext.h"

GraphData::GraphData(GridRows selectedRows)
    : m_selected(std::move(selectedRows)) {
    for (int row = m_selected.rows() - 1; row >= 0; --row) {
        if (m_selected.cell(row, 0) != QByteArrayView("(NO DATA)"))
            m_rows.append(row);
    }
}

QByteArrayView GraphData::text(int row, int column) const {
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= Columns)
        return {};
    return m_selected.cell(m_rows[row], column);
}

double GraphData::value(int row, int column) const {
    return NumberText::leadingValue(text(row, column));
}
