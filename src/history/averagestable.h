#pragma once

#include <QByteArrayView>

class GridModel;

// The averages table: AVG and HIT of every target over the newest 3, the newest 10 and all
// games of the recent table, with a sum and a mean per row.
namespace AveragesTable {

inline constexpr int Rows = 6;
inline constexpr int Columns = 24;

// Empties the grid into its 6 labelled rows with the table's widths and alignments.
void setUp(GridModel &grid);
// Fills the set-up grid from the recent table of the play mode.
void calculate(GridModel &averages, const GridModel &recent, qint32 playMode);

// The value of a text valid for the mode ("0".."99" in mode A, "0".."3" in mode B), else -1.
int validValue(QByteArrayView text, qint32 playMode);

} // namespace AveragesTable
