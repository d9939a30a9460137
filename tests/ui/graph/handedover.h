#pragma once

#include "platform/gridmodel.h"
#include "ui/graph/graphdata.h"

#include <QStringList>

// Rows of cell texts as the recent grid hands its selected rows over to the graph window.
inline GridRows handedOver(const QList<QStringList> &rows) {
    GridModel grid;
    grid.setCols(GraphData::Columns);
    grid.setRows(int(rows.size()));
    QList<int> all;
    for (int row = 0; row < rows.size(); ++row) {
        for (int col = 0; col < rows[row].size(); ++col)
            grid.setText(row, col, rows[row][col]);
        all.append(row);
    }
    return grid.copyRows(all);
}
