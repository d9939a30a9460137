#pragma once

#include <QByteArrayView>
#include <QList>

#include <array>
#include <span>
#include <vector>

class StoredGames;

// The games the graph window draws: the selected rows of the stored games, oldest first, as
// their cells read. Rows past the games are left out. The games must stay as they are while it
// lives.
class GraphData {
public:
    static constexpr int Columns = 25;

    GraphData() = default;
    // selectedRows: the selected rows of the recent grid, top (newest) to bottom.
    GraphData(const StoredGames &games, const QList<int> &selectedRows);

    int rowCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }

    // A cell's code: the whole number it holds, up to 253, or one of these.
    static constexpr quint8 Other = 254; // any other text: value() reads it
    static constexpr quint8 Empty = 255;

    // The codes of a column's cells, oldest game first; none outside the table. The chart and
    // the board go through every game of a column, a byte a game is what they can afford.
    std::span<const quint8> codes(int column) const {
        const Values *read = valuesOf(column);
        return read ? std::span<const quint8>(read->codes) : std::span<const quint8>();
    }
    // Reads those columns now, on two cores, rather than each when first asked for.
    void read(const QList<qint16> &columns) const;
    // The number the cell begins with; 0 for an empty or non-numeric cell.
    double value(int row, int column) const {
        const Values *read = row >= 0 && row < rowCount() ? valuesOf(column) : nullptr;
        const quint8 code = read ? read->codes[size_t(row)] : Empty;
        return code == Other ? read->others[size_t(row)] : code == Empty ? 0 : code;
    }

private:
    // The values of one column, read once from its texts when first asked for.
    struct Values {
        bool filled = false;
        std::vector<quint8> codes;  // by row
        std::vector<double> others; // by row, where any cell of the column is Other
    };

    // The column's values, null outside the table.
    const Values *valuesOf(int column) const {
        if (isEmpty() || column < 0 || column >= Columns)
            return nullptr;
        const Values &values = m_values[size_t(column)];
        return values.filled ? &values : &readColumn(column);
    }
    const Values &readColumn(int column) const;

    const StoredGames *m_games = nullptr;
    QList<int> m_rows; // rows of the games, oldest first
    mutable std::array<Values, Columns> m_values;
};
