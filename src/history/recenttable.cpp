#include "history/recenttable.h"

#include "entry/numbertext.h"
#include "history/historyline.h"
#include "history/scorecolumns.h"
#include "platform/gridmodel.h"

#include <QHash>

#include <array>
#include <cmath>

namespace {

constexpr int LastFieldCol = 24; // fields past this one are not shown

// The number a value begins with; plain digits, nearly every value, are read here directly.
double leadingValue(QByteArrayView field) {
    if (field.size() > 0 && field.size() <= 9) {
        qint64 value = 0;
        bool digits = true;
        for (char c : field) {
            digits = digits && c >= '0' && c <= '9';
            value = value * 10 + (c - '0');
        }
        if (digits)
            return double(value);
    }
    return field.isEmpty() ? 0.0 : NumberText::leadingValue(QString::fromLatin1(field));
}

// The total and average texts of a game. Most games share a handful of (total, count) pairs,
// so the texts are made once per pair.
class SummaryTexts {
public:
    explicit SummaryTexts(qint32 playMode)
        : m_pattern(NumberText::averagePattern(playMode)) {}

    std::pair<QByteArray, QByteArray> of(double total, int count) {
        const bool small = std::fabs(total) < 1e9 && total == std::trunc(total);
        if (!small)
            return make(total, count);
        const qint64 key = qint64(total) * 32 + count;
        auto found = m_cache.constFind(key);
        if (found == m_cache.cend())
            found = m_cache.insert(key, make(total, count));
        return found.value();
    }

private:
    std::pair<QByteArray, QByteArray> make(double total, int count) const {
        return {NumberText::formatWhole(total).toLatin1(),
                count > 0 ? NumberText::format(total / count, m_pattern).toLatin1() : QByteArray()};
    }

    NumberText::Pattern m_pattern;
    QHash<qint64, std::pair<QByteArray, QByteArray>> m_cache;
};

} // namespace

namespace RecentTable {

void setUp(GridModel &grid) {
    ScoreColumns::setUp(grid, MinRows, Columns);
    grid.setColWidth(StampCol, 0); // the hidden date key
    for (int row = 0; row < MinRows; ++row)
        grid.setText(row, 0, QString::fromLatin1(Placeholder));
}

void fill(GridModel &grid, QByteArrayView content, qint32 playMode) {
    const QList<QByteArrayView> lines = HistoryLine::splitLines(content);
    const int games = int(lines.size());
    if (games > grid.rows())
        grid.setRows(games);
    grid.reserveBytes(content.size() + qsizetype(games) * (Columns + 20));

    SummaryTexts summaries(playMode);
    std::array<QByteArrayView, Columns> cells;
    for (int i = 0; i < games; ++i) {
        QByteArrayView rest = lines[i];
        bool moreFields = true; // a field follows every comma, even an empty last one
        auto nextField = [&] {
            qsizetype comma = 0; // fields are short: a plain loop beats a library search
            while (comma < rest.size() && rest[comma] != ',')
                ++comma;
            moreFields = comma < rest.size();
            const QByteArrayView field = moreFields ? rest.first(comma) : rest;
            rest = moreFields ? rest.sliced(comma + 1) : QByteArrayView();
            return field;
        };
        cells.fill({});
        const QByteArrayView stamp = nextField();
        if (stamp.size() > 5)
            cells[0] = stamp.sliced(5, std::min<qsizetype>(11, stamp.size() - 5));
        double total = 0;
        int count = 0;
        for (int col = 1; col <= LastFieldCol && moreFields; ++col) {
            const QByteArrayView field = nextField();
            cells[size_t(col)] = field;
            // The total is whole after every addition; halves go away from zero.
            total = std::round(total + leadingValue(field));
            if (!field.isEmpty())
                ++count;
        }
        const auto [totalText, averageText] = summaries.of(total, count);
        cells[TotalCol] = totalText;
        cells[AverageCol] = averageText;
        cells[StampCol] = stamp;
        grid.writeRow(games - 1 - i, cells);
    }
    grid.rowsWritten(0, games - 1);
}

bool isPlaceholder(const GridModel &grid, int row) {
    // A game always keeps its date-time text, even one whose date reads "(NO DATA)".
    return grid.cellBytes(row, 0) == QByteArrayView(Placeholder) &&
           grid.cellBytes(row, StampCol).isEmpty();
}

QByteArray historyLine(const GridModel &grid, int row) {
    std::array<QByteArrayView, Columns> cells;
    grid.rowCells(row, cells);
    QByteArray line = cells[StampCol].toByteArray();
    for (int col = 1; col <= HistoryLine::Values; ++col)
        line.append(',').append(cells[size_t(col)]);
    return line;
}

} // namespace RecentTable
