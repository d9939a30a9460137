#pragma once

#include "history/averagestable.h"

#include <QByteArray>
#include <QByteArrayView>

class GridModel;

// The recent table: one row per stored game, newest first, with the date, the 21 values, the
// total, the average and the hidden date-time text; at least 5 rows, "(NO DATA)" rows below
// the games.
namespace RecentTable {

inline constexpr int Columns = 25;
inline constexpr int MinRows = 5;
inline constexpr int TotalCol = 22;
inline constexpr int AverageCol = 23;
inline constexpr int StampCol = 24;
inline constexpr char Placeholder[] = "(NO DATA)";

// Empties the grid into 5 placeholder rows with the table's widths and alignments.
void setUp(GridModel &grid);
// Fills the set-up grid from a history file's content, every game of it, and tallies its values
// for the averages on the way.
AveragesTable::Tallies fill(GridModel &grid, QByteArrayView content, qint32 playMode);

bool isPlaceholder(const GridModel &grid, int row);
// Appends the history line of a game row: the date-time text and the cells of the 21 values.
void appendHistoryLine(const GridModel &grid, int row, QByteArray &line);

} // namespace RecentTable
