#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <vector>

class StoredGames;

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

// One line of a file's content: its text without the line end, and where the next begins. A
// line ends at LF, one CR before it dropped; a last line needs no line end.
struct Line {
    QByteArrayView text;
    const char *next;
};
Line lineAt(const char *start, const char *end);

// The delete's rewrite of the history file the games were read from, as the filter of a
// FileSystemObject::Rewriting: the file's bytes without the lines of the games at the selected
// rows; every other line, a game's or not, keeps its very bytes.
class Rewrite {
public:
    Rewrite(const StoredGames &games, const QList<int> &selectedRows);
    // Takes the file's next bytes, `last` with its end, and appends the lines they complete.
    void operator()(QByteArrayView bytes, bool last, QByteArray &out);
    // Whether a game is selected at all.
    bool deletes() const { return m_deletes; }
    // The lines of the deleted games, oldest first, each with CR LF; whole after the last bytes.
    const QByteArray &deleted() const { return m_deleted; }

private:
    void take(QByteArrayView line, QByteArray &out); // one line of the file, its line end too

    int m_games = 0;              // one a non-empty line of the file
    std::vector<bool> m_selected; // by row
    bool m_deletes = false;
    QByteArray m_partial; // the start of a line that the next bytes complete
    QByteArray m_deleted;
    int m_game = 0; // games walked, oldest first
};

} // namespace RecentTable
