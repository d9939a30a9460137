#pragma once

#include "history/averagestable.h"
#include "platform/hugepageallocator.h"
#include "settings/playmode.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <array>
#include <functional>
#include <span>
#include <utility>
#include <vector>

// The loaded games of one history file: the one place the program keeps them. Rows count from
// the newest game; a game's cells are those of the recent table (date, 21 values, total,
// average, date-time text). A game costs 44 bytes whatever the length of its line.
class StoredGames {
public:
    // A game as its readers see it: its date-time text and the valid value of each target for
    // the mode, -1 where the game holds none.
    using Visitor = std::function<void(QByteArrayView stamp, std::span<const int, 21> values)>;

    // Replaces the games by every line of a history file's content, tallying their values for
    // the averages on the way.
    void read(QByteArrayView content, Mode playMode);
    // Reads as read() does, the content coming a piece at a time: the games are replaced once
    // finish() has taken the end of the content. Only a line split between pieces is copied.
    class Reader {
    public:
        Reader(StoredGames &games, Mode playMode);
        // The next bytes, and about how large the whole content is, to make room for its games.
        void add(QByteArrayView bytes, qint64 totalBytes);
        void finish();

    private:
        void take(QByteArrayView line);
        bool addPlain(QByteArrayView line);

        StoredGames &m_games;
        // Summary indexes by total and count.
        std::vector<quint16> m_summaryOf;
        // How many plain games hold each value (NoValue too) at each target: tallied once at the
        // end rather than value by value.
        std::vector<std::array<quint32, 256>> m_valueCounts;
        QByteArray m_partial; // the start of a line that the next bytes complete
        qint64 m_bytesRead = 0;
    };
    void clear() { *this = StoredGames(); }
    // Drops the games at the given rows (others are ignored), as reading the file without their
    // lines would.
    void remove(const QList<int> &rows);

    int count() const { return int(m_games.size()); }
    // A cell of the game at a row, as the recent table shows it; empty outside the games. Valid
    // until the games change.
    QByteArrayView cell(int row, int col) const;
    // Every game, oldest first.
    void visit(const Visitor &visit) const;
    // The sums and counts of the valid values in the newest 3, newest 10 and all games.
    const AveragesTable::Tallies &tallies() const { return m_tallies; }
    // The longest cell of a column, the newest of equals: what the grid's font must fit.
    QByteArrayView longest(int col) const;

private:
    // Nearly every line is a 19-character date-time text and values that are plain numbers
    // (no sign, no leading zero, at most 254) or empty: such a game is its date-time text and
    // one byte per value, its total and average texts shared with every game of the same sum
    // and count. Any other game keeps its line.
    struct Game {
        char stamp[19];
        quint8 values[21]; // the number, or NoValue
        quint16 summary;   // index of the total and average texts, or KeptAsLine
    };
    // Where a kept line lies in m_keptText, followed by its total and its average.
    struct KeptLine {
        size_t game;
        qsizetype start;
        qsizetype lineSize;
        qsizetype totalSize;
        qsizetype averageSize;
    };

    void keepLine(QByteArrayView line);
    QByteArrayView gameCell(const Game &game, int col) const;
    QByteArrayView keptCell(size_t game, int col) const;
    QByteArrayView keptCell(const KeptLine &kept, int col) const;
    std::array<int, 21> validValues(size_t game) const;
    void tallyNewest();
    void findLongest();

    Mode m_playMode = Mode::A;
    int m_highestValid = 99;
    std::vector<Game, HugePageAllocator<Game>> m_games; // oldest first: row 0 is the last
    std::vector<std::pair<QByteArray, QByteArray>> m_summaries;
    std::vector<KeptLine> m_keptLines; // by game
    QByteArray m_keptText;
    AveragesTable::Tallies m_tallies;
    // Per column: the size of its longest cell, and the newest row that holds one (-1: none).
    std::array<qsizetype, 25> m_longestSize{};
    std::array<int, 25> m_longestRow{};
};
