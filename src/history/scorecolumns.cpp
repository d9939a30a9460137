#include "history/scorecolumns.h"

#include "platform/gridmodel.h"

namespace ScoreColumns {

void setUp(GridModel &grid, int rows, int columns) {
    grid.clear();
    grid.setRows(rows);
    grid.setCols(columns);
    grid.setColWidth(0, 1320);
    for (int col = 1; col <= 21; ++col)
        grid.setColWidth(col, 480);
    grid.setColWidth(22, 660);
    grid.setColWidth(23, 780);
    for (int col = 0; col < Count; ++col)
        grid.setColAlignment(col, GridModel::AlignCenterCenter);
}

} // namespace ScoreColumns
