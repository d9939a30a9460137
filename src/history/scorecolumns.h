#pragma once

class GridModel;

// The column layout that the recent and averages grids share, so that their columns line up
// under the headings of the this-time card: date or label, 21 targets, total, average.
namespace ScoreColumns {

inline constexpr int Count = 24;

// A column's width in twips; 0 past the shown columns.
int width(int col);
// Empties the grid, sizes it and gives columns 0 to 23 their widths, centred.
void setUp(GridModel &grid, int rows, int columns);

} // namespace ScoreColumns
