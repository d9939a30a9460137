// Treats the input (after a first byte that picks the play mode) as a history file: loading it
// into the recent table and computing the averages must not crash, must show one row per line
// with the cells that the table's rules make of it, must tally what the cells say, and the
// delete's rewrite of the file without one game must leave every other line's bytes as they were.
// Read in pieces of any size, it must give the same games as read whole.
#include "entry/numbertext.h"
#include "history/averagestable.h"
#include "history/historyline.h"
#include "history/recentmodel.h"
#include "history/recenttable.h"
#include "history/storedgames.h"
#include "platform/gridmodel.h"
#include "settings/playmode.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

// The game rows of a loaded table, oldest first, each its cells joined by TAB.
QByteArrayList loadedRows(StoredGames &recent, QByteArrayView content, Mode playMode) {
    recent.read(content, playMode);
    QByteArrayList rows;
    for (int row = recent.count() - 1; row >= 0; --row) {
        rows.append(QByteArray());
        for (int col = 0; col < RecentTable::Columns; ++col)
            rows.last().append(recent.cell(row, col)).append('\t');
    }
    return rows;
}

// The lines of a file's content, each as the file holds it and as its text. A line ends at LF
// (CR LF or a bare LF), one CR before the LF is not part of its text, a last line needs no line
// end; a line with an empty text is no game.
struct FileLine {
    QByteArrayView bytes;
    QByteArrayView text;
};
QList<FileLine> splitLines(QByteArrayView content) {
    QList<FileLine> lines;
    while (!content.isEmpty()) {
        const qsizetype end = content.indexOf('\n');
        const QByteArrayView bytes = end < 0 ? content : content.first(end + 1);
        QByteArrayView text = end < 0 ? content : content.first(end);
        content = content.sliced(bytes.size());
        if (text.endsWith('\r'))
            text.chop(1);
        lines.append({bytes, text});
    }
    return lines;
}

// The cells of a game row, made the plain way from its line.
QByteArrayList expectedCells(QByteArrayView line, Mode playMode) {
    const QByteArrayList fields = line.toByteArray().split(',');
    QByteArrayList cells(RecentTable::Columns);
    const QByteArray &stamp = fields[0];
    if (stamp.size() > 5)
        cells[0] = stamp.mid(5, 11);
    double total = 0;
    int count = 0;
    for (int col = 1; col < fields.size() && col <= RecentTable::StampCol; ++col) {
        cells[col] = fields[col];
        total = std::round(total + NumberText::leadingValue(QString::fromLatin1(fields[col])));
        count += fields[col].isEmpty() ? 0 : 1;
    }
    cells[RecentTable::TotalCol] = NumberText::formatWhole(total).toLatin1();
    cells[RecentTable::AverageCol] =
        count > 0
            ? NumberText::format(total / count, NumberText::averagePattern(playMode)).toLatin1()
            : QByteArray();
    cells[RecentTable::StampCol] = stamp;
    return cells;
}

// The averages' tallies as the cells of the table give them.
AveragesTable::Tallies talliesOfCells(const StoredGames &recent, Mode playMode) {
    AveragesTable::Tallies tallies;
    for (int row = 0; row < recent.count(); ++row) {
        for (int target = 1; target <= HistoryLine::Values; ++target) {
            const int value = AveragesTable::validValue(recent.cell(row, target), playMode);
            if (value < 0)
                continue;
            if (row < 3)
                tallies.add(AveragesTable::Newest3, target, value);
            if (row < 10)
                tallies.add(AveragesTable::Newest10, target, value);
            tallies.add(AveragesTable::All, target, value);
        }
    }
    return tallies;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    const Mode playMode = data[0] % 2 ? Mode::B : Mode::A;
    const QByteArrayView content(data + 1, qsizetype(size - 1));

    StoredGames recent;
    const QByteArrayList rows = loadedRows(recent, content, playMode);
    const AveragesTable::Tallies tallies = recent.tallies();
    const QList<FileLine> allLines = splitLines(content);
    QList<QByteArrayView> fileLines; // the games' texts, oldest first
    for (const FileLine &line : allLines) {
        if (!line.text.isEmpty())
            fileLines.append(line.text);
    }
    const qsizetype games = fileLines.size();
    require(rows.size() == games);
    const RecentModel shown(recent);
    require(shown.rowCount() == std::max<qsizetype>(games, RecentTable::MinRows));
    for (int row = 0; row < shown.rowCount(); ++row) {
        const QByteArrayList cells = row < games
                                         ? expectedCells(fileLines[games - 1 - row], playMode)
                                         : QByteArrayList{RecentTable::Placeholder};
        for (int col = 0; col < RecentTable::Columns; ++col)
            require(shown.text(row, col).toLatin1() == cells.value(col));
    }
    require(tallies == talliesOfCells(recent, playMode));

    // The content in pieces of sizes its own bytes pick, a line cut anywhere (a CR LF too), reads
    // as the content whole: the same cells, tallies and longest cells.
    StoredGames pieces;
    StoredGames::Reader reader(pieces, playMode);
    for (qsizetype at = 0, step = 0; at < content.size(); at += step) {
        step = std::min<qsizetype>(1 + quint8(content[at]) % (4 + data[0]), content.size() - at);
        reader.add(content.sliced(at, step), content.size() / (1 + data[0] % 3));
    }
    reader.add({}, 0);
    reader.finish();
    require(pieces.count() == recent.count() && pieces.tallies() == tallies);
    for (int col = 0; col < RecentTable::Columns; ++col) {
        require(pieces.longest(col) == recent.longest(col));
        for (int row = 0; row < recent.count(); ++row)
            require(pieces.cell(row, col) == recent.cell(row, col));
    }

    GridModel averages;
    AveragesTable::setUp(averages);
    AveragesTable::calculate(averages, tallies, playMode);
    const double highest = playMode == Mode::A ? 99 : 3;
    for (int target = 1; target <= HistoryLine::Values; ++target) {
        for (int row = 0; row < AveragesTable::Rows; ++row) {
            const QString text = averages.text(row, target);
            const double value = NumberText::leadingValue(text);
            // A mode-A hit rate has no ceiling: a 0 counts as a game without darts.
            const double ceiling = row < 3 ? highest : playMode == Mode::A ? 1e9 : 100;
            require(text.isEmpty() || (value >= 0 && value <= ceiling));
        }
    }

    // A delete keeps every other line of the file byte for byte, and the deleted game's text goes
    // to the deleted games. The file comes whole or in small pieces, which cut its lines anywhere.
    const int selected = data[0] >> 1;
    const qsizetype gone = selected < games ? games - 1 - selected : -1; // oldest first
    QByteArray expected;
    for (qsizetype i = 0, game = 0; i < allLines.size(); ++i) {
        if (allLines[i].text.isEmpty() || game++ != gone)
            expected.append(allLines[i].bytes);
    }
    const QByteArray deleted = gone < 0 ? QByteArray() : fileLines[gone].toByteArray() + "\r\n";
    const qsizetype piece = 1 + selected % 16;
    for (int round = 0; round < 2; ++round) {
        QByteArray rewritten;
        RecentTable::Rewrite rewrite(recent, {selected});
        const qsizetype step = round == 1 ? piece : std::max<qsizetype>(content.size(), 1);
        for (qsizetype at = 0; at < content.size(); at += step)
            rewrite(content.sliced(at, std::min(step, content.size() - at)), false, rewritten);
        rewrite({}, true, rewritten);
        require(rewritten == expected);
        require(rewrite.deleted() == deleted);
    }
    QByteArrayList kept = rows;
    if (gone >= 0)
        kept.removeAt(gone);
    StoredGames reloaded;
    require(loadedRows(reloaded, expected, playMode) == kept);
    return 0;
}
