#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The games the graph window draws: the selected rows of the recent table, oldest first,
// as text cells. Placeholder rows are left out; the table never changes once built.
class GraphData {
public:
    static constexpr int Columns = 25;

    GraphData() = default;
    // selectedRows: the cell texts of the selected grid rows, top (newest) to bottom.
    explicit GraphData(const QList<QStringList> &selectedRows);

    int rowCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }

    QString cell(int row, int column) const { return text(row, column).toString(); }
    bool hasValue(int row, int column) const { return !text(row, column).isEmpty(); }
    // The number the cell begins with; 0 for an empty or non-numeric cell.
    double value(int row, int column) const;

private:
    // Empty outside the table.
    QStringView text(int row, int column) const;

    QList<QStringList> m_rows;
};
