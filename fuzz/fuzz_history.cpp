// Treats the input (after a first byte that picks the play mode) as a history file: loading it
// into the recent table and computing the averages must not crash, must show one row per line
// with the cells that the table's rules make of it, must tally what the cells say, and the
// delete's rewrite of the file without one game must load back to the very same other lines.
#include "app/mdlmain.h"
#include "entry/numbertext.h"
#include "history/averagestable.h"
#include "history/historyline.h"
#include "history/recenttable.h"
#include "platform/gridmodel.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

QByteArrayList loadedLines(GridModel &recent, QByteArrayView content, qint32 playMode,
                           AveragesTable::Tallies *tallies = nullptr) {
    RecentTable::setUp(recent);
    const AveragesTable::Tallies filled = RecentTable::fill(recent, content, playMode);
    if (tallies)
        *tallies = filled;
    QByteArrayList lines;
    for (int row = recent.rows() - 1; row >= 0; --row) {
        if (!RecentTable::isPlaceholder(recent, row)) {
            lines.append(QByteArray());
            RecentTable::appendHistoryLine(recent, row, lines.last());
        }
    }
    return lines;
}

// The lines of a file's content. A line ends at LF (CR LF or a bare LF), one CR before the LF
// is dropped, a last line needs no line end, and empty lines are skipped.
QList<QByteArrayView> splitLines(QByteArrayView content) {
    QList<QByteArrayView> lines;
    while (!content.isEmpty()) {
        const qsizetype end = content.indexOf('\n');
        QByteArrayView line = end < 0 ? content : content.first(end);
        content = end < 0 ? QByteArrayView() : content.sliced(end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            lines.append(line);
    }
    return lines;
}

// The cells of a game row, made the plain way from its line.
QByteArrayList expectedCells(QByteArrayView line, qint32 playMode) {
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
AveragesTable::Tallies talliesOfCells(const GridModel &recent, qint32 playMode) {
    AveragesTable::Tallies tallies;
    for (int row = 0; row < recent.rows(); ++row) {
        for (int target = 1; target <= HistoryLine::Values; ++target) {
            const int value = AveragesTable::validValue(recent.cellBytes(row, target), playMode);
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
    const qint32 playMode = data[0] % 2 ? mdlMain::ModeB : mdlMain::ModeA;
    const QByteArrayView content(data + 1, qsizetype(size - 1));

    GridModel recent;
    AveragesTable::Tallies tallies;
    const QByteArrayList lines = loadedLines(recent, content, playMode, &tallies);
    const QList<QByteArrayView> fileLines = splitLines(content);
    const qsizetype games = fileLines.size();
    require(lines.size() == games);
    require(recent.rows() == std::max<qsizetype>(games, RecentTable::MinRows));
    for (int row = 0; row < games; ++row) {
        const QByteArrayList cells = expectedCells(fileLines[games - 1 - row], playMode);
        for (int col = 0; col < RecentTable::Columns; ++col)
            require(recent.cellBytes(row, col) == cells[col]);
    }
    require(tallies == talliesOfCells(recent, playMode));

    GridModel averages;
    AveragesTable::setUp(averages);
    AveragesTable::calculate(averages, tallies, playMode);
    const double highest = playMode == mdlMain::ModeA ? 99 : 3;
    for (int target = 1; target <= HistoryLine::Values; ++target) {
        for (int row = 0; row < AveragesTable::Rows; ++row) {
            const QString text = averages.text(row, target);
            const double value = NumberText::leadingValue(text);
            // A mode-A hit rate has no ceiling: a 0 counts as a game without darts.
            const double ceiling = row < 3 ? highest : playMode == mdlMain::ModeA ? 1e9 : 100;
            require(text.isEmpty() || (value >= 0 && value <= ceiling));
        }
    }

    // A delete writes every other game's history line, copied from the file or made from the
    // table alike, also once the table's rows are texts of the grid's own; it loads back as such.
    // The file comes whole or in small pieces, which cut its lines anywhere.
    const int selected = data[0] >> 1;
    QByteArrayList kept = lines;
    if (selected < games)
        kept.removeAt(games - 1 - selected);
    const QByteArray expected = kept.join("\r\n") + (kept.isEmpty() ? "" : "\r\n");
    const qsizetype piece = 1 + selected % 16;
    for (int round = 0; round < 3; ++round) {
        QByteArray rewritten;
        RecentTable::Rewrite rewrite(recent, {selected});
        const qsizetype step = round == 1 ? piece : std::max<qsizetype>(content.size(), 1);
        for (qsizetype at = 0; at < content.size(); at += step)
            rewrite(content.sliced(at, std::min(step, content.size() - at)), false, rewritten);
        rewrite({}, true, rewritten);
        require(rewritten == expected);
        // The file's own line, or the table's once it holds texts.
        const QByteArrayView gone = selected >= games ? QByteArrayView()
                                    : round < 2       ? fileLines[games - 1 - selected]
                                                      : QByteArrayView(lines[games - 1 - selected]);
        require(rewrite.deleted() == (gone.isEmpty() ? QByteArray() : gone.toByteArray() + "\r\n"));
        if (round == 1)
            recent.setRows(recent.rows());
    }
    GridModel reloaded;
    require(loadedLines(reloaded, expected, playMode) == kept);
    return 0;
}
