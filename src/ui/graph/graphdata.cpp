#include "ui/graph/graphdata.h"

#include "entry/numbertext.h"

namespace {
const QString NoData = QStringLiteral("(NO DATA)");
}

GraphData::GraphData(const QList<QStringList> &selectedRows) {
    m_rows.reserve(selectedRows.size());
    for (auto it = selectedRows.crbegin(); it != selectedRows.crend(); ++it) {
        if (!it->isEmpty() && it->first() == NoData)
            continue;
        QStringList cells = it->mid(0, Columns);
        while (cells.size() < Columns)
            cells.append(QString());
        m_rows.append(cells);
    }
}

QStringView GraphData::text(int row, int column) const {
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= Columns)
        return {};
    return m_rows[row][column];
}

double GraphData::value(int row, int column) const {
    return NumberText::leadingValue(text(row, column));
}
