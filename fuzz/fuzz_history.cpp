// Treats the input (after a first byte that picks the play mode) as a history file: loading it
// into the recent table and computing the averages must not crash, must show one row per line,
// and the delete path's rewrite of the table must load back to the very same lines.
#include "app/mdlmain.h"
#include "entry/numbertext.h"
#include "history/averagestable.h"
#include "history/historyline.h"
#include "history/recenttable.h"
#include "platform/gridmodel.h"

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

QByteArrayList loadedLines(GridModel &recent, QByteArrayView content, qint32 playMode) {
    RecentTable::setUp(recent);
    RecentTable::fill(recent, content, playMode);
    QByteArrayList lines;
    for (int row = recent.rows() - 1; row >= 0; --row) {
        if (!RecentTable::isPlaceholder(recent, row))
            lines.append(RecentTable::historyLine(recent, row));
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    const qint32 playMode = data[0] % 2 ? mdlMain::ModeB : mdlMain::ModeA;
    const QByteArrayView content(data + 1, qsizetype(size - 1));

    GridModel recent;
    const QByteArrayList lines = loadedLines(recent, content, playMode);
    const qsizetype games = HistoryLine::splitLines(content).size();
    require(lines.size() == games);
    require(recent.rows() == std::max<qsizetype>(games, RecentTable::MinRows));

    GridModel averages;
    AveragesTable::setUp(averages);
    AveragesTable::calculate(averages, recent, playMode);
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

    // What a delete of nothing writes loads back unchanged.
    const QByteArray rewritten = lines.join("\r\n") + (lines.isEmpty() ? "" : "\r\n");
    GridModel reloaded;
    require(loadedLines(reloaded, rewritten, playMode) == lines);
    return 0;
}
