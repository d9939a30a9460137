#pragma once

#include "history/averagestable.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <functional>
#include <span>
#include <vector>

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

// A stored game as a reader of the games sees it: its date-time text and the valid value of each
// target for the mode, -1 where the cell holds none.
using GameVisitor = std::function<void(QByteArrayView stamp, std::span<const int, 21> values)>;
// Hands every game of the table the grid was filled from to `visit`, oldest first, from the
// table's own games rather than the grid's texts; none when the grid holds no games of a file.
void readGames(const GridModel &grid, const GameVisitor &visit);

// The delete's rewrite of the history file the grid was filled from, as the filter of a
// FileSystemObject::Rewriting: the file's bytes without the lines of the games at the selected
// rows; every other line, a game's or not, keeps its very bytes.
class Rewrite {
public:
    Rewrite(const GridModel &grid, const QList<int> &selectedRows);
    // Takes the file's next bytes, `last` with its end, and appends the lines they complete.
    void operator()(QByteArrayView bytes, bool last, QByteArray &out);
    // Whether a game is selected at all.
    bool deletes() const { return m_deletes; }
    // The lines of the deleted games, oldest first, each with CR LF; whole after the last bytes.
    const QByteArray &deleted() const { return m_deleted; }

private:
    void take(QByteArrayView line, QByteArray &out); // one line of the file, its line end too

    int m_games = 0;              // the rows that are games, one a non-empty line of the file
    std::vector<bool> m_selected; // by row
    bool m_deletes = false;
    QByteArray m_partial; // the start of a line that the next bytes complete
    QByteArray m_deleted;
    int m_game = 0; // games walked, oldest first
};

} // namespace RecentTable
