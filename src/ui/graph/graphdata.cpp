#include "ui/graph/graphdata.h"

#include "entry/numbertext.h"
#include "history/storedgames.h"
#include "ui/graph/twocores.h"

GraphData::GraphData(const StoredGames &games, const QList<int> &selectedRows)
    : m_games(&games) {
    for (auto row = selectedRows.crbegin(); row != selectedRows.crend(); ++row) {
        if (*row >= 0 && *row < games.count())
            m_rows.append(*row);
    }
}

void GraphData::read(const QList<qint16> &columns) const {
    QList<qint16> unread;
    for (qint16 column : columns) {
        if (!isEmpty() && column >= 0 && column < Columns && !m_values[size_t(column)].filled &&
            !unread.contains(column))
            unread.append(column);
    }
    // Each column's values are its own, and the texts are only read.
    onTwoCores(unread, [this](auto first, auto last, bool) {
        for (auto it = first; it != last; ++it)
            readColumn(*it);
    });
}

const GraphData::Values &GraphData::readColumn(int column) const {
    Values &values = m_values[size_t(column)];
    values.filled = true;
    values.codes.resize(size_t(rowCount()), Empty);
    for (int row = 0; row < rowCount(); ++row) {
        const QByteArrayView text = m_games->cell(m_rows[row], column);
        if (text.isEmpty())
            continue;
        // One to three digits, nearly every value, are their own code.
        unsigned number = 0;
        bool digits = text.size() <= 3;
        for (char c : text.first(digits ? text.size() : 0)) {
            const unsigned digit = unsigned(quint8(c)) - '0';
            digits = digits && digit <= 9;
            number = number * 10 + digit;
        }
        values.codes[size_t(row)] = digits && number < Other ? quint8(number) : Other;
        if (values.codes[size_t(row)] == Other) {
            values.others.resize(size_t(rowCount()));
            values.others[size_t(row)] = NumberText::leadingValue(text);
        }
    }
    return values;
}
