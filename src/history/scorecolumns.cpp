#include "history/scorecolumns.h"

#include "platform/gridmodel.h"

namespace ScoreColumns {

int width(int col) {
    return col == 0 ? 1320 : col <= 21 ? 480 : col == 22 ? 660 : col == 23 ? 780 : 0;
}

void setUp(GridModel &grid, int rows, int columns) {
    grid.clear();
    grid.setRows(rows);
    grid.setCols(columns);
    for (int col = 0; col < Count; ++col) {
        grid.setColWidth(col, width(col));
        grid.setColAlignment(col, GridModel::AlignCenterCenter);
    }
}

} // namespace ScoreColumns
