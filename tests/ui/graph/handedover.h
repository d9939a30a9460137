#pragma once

#include "history/storedgames.h"
#include "settings/playmode.h"
#include "ui/graph/graphdata.h"

#include <QMap>
#include <QStringList>

// Rows of cell texts as the recent grid shows them, newest first, made into the games they
// show and every row selected. A "(NO DATA)" row without a date-time text is a placeholder row.
struct HandedOver {
    StoredGames games;
    QList<int> rows;
    GraphData data() const { return GraphData(games, rows); }
};

inline HandedOver handedOver(const QList<QStringList> &rows) {
    HandedOver handed;
    QByteArray content;
    for (int row = int(rows.size()) - 1; row >= 0; --row) {
        const QStringList &cells = rows[row];
        handed.rows.prepend(row);
        if (cells.value(0) == "(NO DATA)" && cells.value(24).isEmpty())
            continue;
        QStringList fields{cells.value(24).isEmpty() ? "2024/03/01 10:00:00" : cells.value(24)};
        for (int col = 1; col <= 21; ++col)
            fields.append(cells.value(col));
        content += fields.join(u',').toLatin1() + "\r\n";
    }
    handed.games.read(content, Mode::A);
    return handed;
}

// Rows with the given cells per column listed oldest first, handed over newest first as the grid
// does. A column's cells repeat to fill `count` games.
inline HandedOver games(const QMap<int, QStringList> &cells, int count = 3) {
    QList<QStringList> rows;
    for (int game = count - 1; game >= 0; --game) {
        rows.append(QStringList(GraphData::Columns));
        for (auto it = cells.cbegin(); it != cells.cend(); ++it)
            rows.last()[it.key()] = it.value()[game % it.value().size()];
    }
    return handedOver(rows);
}
