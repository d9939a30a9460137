#include "history/recenttable.h"

#include "entry/numbertext.h"
#include "history/historyline.h"
#include "history/scorecolumns.h"
#include "platform/gridmodel.h"
#include "settings/playmode.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using AveragesTable::Tallies;
using HistoryLine::Values;

constexpr int LastFieldCol = 24; // fields past this one are not shown
constexpr int StampSize = 19;    // "yyyy/MM/dd HH:mm:ss"
constexpr int HighestPlain = 254;
constexpr quint8 NoValue = 255;
constexpr quint16 KeptAsLine = 0xffff; // also the most summaries there can be

// The texts "0" to "254" and, for NoValue, the empty text: the cell of a value points into
// them. Each has room for four characters, so that four can be copied whatever its length.
struct NumberTexts {
    constexpr NumberTexts() {
        for (int value = 0; value <= HighestPlain; ++value) {
            const char digits[3] = {char('0' + value / 100), char('0' + value / 10 % 10),
                                    char('0' + value % 10)};
            sizes[value] = value >= 100 ? 3 : value >= 10 ? 2 : 1;
            for (int i = 0; i < sizes[value]; ++i)
                bytes[value][i] = digits[3 - sizes[value] + i];
        }
    }
    QByteArrayView of(quint8 value) const { return QByteArrayView(bytes[value], sizes[value]); }

    char bytes[NoValue + 1][4]{};
    quint8 sizes[NoValue + 1]{};
};
constexpr NumberTexts Numbers;

// A game as the table keeps it. Nearly every line is a 19-character date-time text and values
// that are plain numbers (no sign, no leading zero, at most 254) or empty: such a game is its
// date-time text and one byte per value, its total and average texts shared with every game
// of the same sum and count. Any other game keeps its line.
struct Game {
    char stamp[StampSize];
    quint8 values[Values]; // the number, or NoValue
    quint16 summary;       // index of the total and average texts, or KeptAsLine
};

// Where a kept line lies in the table's text, followed by its total and its average.
struct KeptLine {
    size_t game;
    qsizetype start;
    qsizetype lineSize;
    qsizetype totalSize;
    qsizetype averageSize;
};

// One line of a file's content: where it starts and ends without its line end, and where the
// next begins. A line ends at LF, one CR before it dropped; a last line needs no line end.
struct Line {
    QByteArrayView text;
    const char *next;
};

Line lineAt(const char *start, const char *end) {
    // An empty chunk may have no data at all, and memchr must never be given a null pointer.
    const auto *lf = start == end
                         ? nullptr
                         : static_cast<const char *>(std::memchr(start, '\n', size_t(end - start)));
    const char *lineEnd = lf ? lf : end;
    const bool cr = lineEnd > start && lineEnd[-1] == '\r';
    return {QByteArrayView(start, lineEnd - start - (cr ? 1 : 0)), lf ? lf + 1 : end};
}

} // namespace

namespace RecentTable {

// The games of a history file as the rows of the recent table.
class Games final : public GridModel::RowSource {
public:
    explicit Games(qint32 playMode)
        : m_pattern(NumberText::averagePattern(playMode))
        , m_highestValid(playMode == ModeA ? 99 : 3)
        , m_playMode(playMode) {}

    // Reads every line of the content, tallying its valid values into the window of all games.
    void read(QByteArrayView content, Tallies &tallies);
    int games() const { return int(m_games.size()); }

    // Every game, oldest first, with the valid values of the mode.
    void visit(const GameVisitor &visit) const;

    int rows() const override { return std::max(games(), RecentTable::MinRows); }
    QByteArrayView cell(int row, int col) const override;

private:
    QByteArrayView gameCell(const Game &game, int col) const;
    bool addPlain(QByteArrayView line, std::vector<quint16> &summaryOf, Tallies &tallies);
    void keepLine(QByteArrayView line, Tallies &tallies);
    QByteArrayView keptCell(size_t game, int col) const;

    NumberText::Pattern m_pattern;
    int m_highestValid;
    qint32 m_playMode;
    std::vector<Game> m_games; // oldest first: row 0 is the last
    std::vector<std::pair<QByteArray, QByteArray>> m_summaries;
    std::vector<KeptLine> m_keptLines; // by game
    QByteArray m_keptText;
};

} // namespace RecentTable

namespace {

// Field `index` of a line and whether the line has it.
std::pair<QByteArrayView, bool> field(QByteArrayView line, int index) {
    for (; index > 0; --index) {
        const qsizetype comma = line.indexOf(',');
        if (comma < 0)
            return {{}, false};
        line = line.sliced(comma + 1);
    }
    const qsizetype comma = line.indexOf(',');
    return {comma < 0 ? line : line.first(comma), true};
}

} // namespace

namespace RecentTable {

void Games::read(QByteArrayView content, Tallies &tallies) {
    m_games.reserve(size_t(std::count(content.begin(), content.end(), '\n')) + 1);
    // Summary indexes by total and count; the total of plain values is at most 21 times 254.
    std::vector<quint16> summaryOf(size_t(Values * HighestPlain + 1) * (Values + 1), KeptAsLine);
    const char *end = content.data() + content.size();
    for (const char *start = content.data(); start < end;) {
        const Line line = lineAt(start, end);
        if (!line.text.isEmpty() && !addPlain(line.text, summaryOf, tallies))
            keepLine(line.text, tallies);
        start = line.next;
    }
    if (m_games.capacity() > m_games.size() + m_games.size() / 4)
        m_games.shrink_to_fit(); // a file of many empty lines
}

bool Games::addPlain(QByteArrayView line, std::vector<quint16> &summaryOf, Tallies &tallies) {
    if (line.size() <= StampSize || line[StampSize] != ',' ||
        std::memchr(line.data(), ',', StampSize))
        return false;
    Game game;
    std::memcpy(game.stamp, line.data(), StampSize);
    const char *p = line.data() + StampSize + 1;
    const char *end = line.data() + line.size();
    int total = 0;
    int count = 0;
    bool more = true; // a field follows every comma, even an empty last one
    for (quint8 &value : game.values) {
        value = NoValue;
        if (!more)
            continue;
        const char *start = p;
        unsigned number = 0;
        for (; p < end && *p != ','; ++p) {
            const unsigned digit = unsigned(quint8(*p)) - '0';
            if (digit > 9)
                return false;
            number = number * 10 + digit;
        }
        if (p > start) {
            if (p - start > 3 || (*start == '0' && p - start > 1) || number > HighestPlain)
                return false;
            value = quint8(number);
            total += int(number);
            ++count;
        }
        more = p < end;
        p += more ? 1 : 0;
    }
    if (more) // fields past the bull count towards the total: the line is kept
        return false;

    quint16 &summary = summaryOf[size_t(total) * (Values + 1) + size_t(count)];
    if (summary == KeptAsLine) {
        if (m_summaries.size() >= KeptAsLine)
            return false;
        summary = quint16(m_summaries.size());
        m_summaries.emplace_back(
            NumberText::formatWhole(total).toLatin1(),
            count > 0 ? NumberText::format(double(total) / count, m_pattern).toLatin1()
                      : QByteArray());
    }
    game.summary = summary;
    m_games.push_back(game);
    for (int target = 1; target <= Values; ++target) {
        if (game.values[target - 1] <= m_highestValid)
            tallies.add(AveragesTable::All, target, game.values[target - 1]);
    }
    return true;
}

void Games::keepLine(QByteArrayView line, Tallies &tallies) {
    double total = 0;
    int count = 0;
    for (int col = 1; col <= LastFieldCol; ++col) {
        const auto [text, present] = field(line, col);
        if (!present)
            break;
        // The total is whole after every addition; halves go away from zero.
        total = std::round(total + NumberText::leadingValue(text));
        if (!text.isEmpty())
            ++count;
        const int value = col <= Values ? AveragesTable::validValue(text, m_playMode) : -1;
        if (value >= 0)
            tallies.add(AveragesTable::All, col, value);
    }
    const QByteArray totalText = NumberText::formatWhole(total).toLatin1();
    const QByteArray averageText =
        count > 0 ? NumberText::format(total / count, m_pattern).toLatin1() : QByteArray();
    m_keptLines.push_back(
        {m_games.size(), m_keptText.size(), line.size(), totalText.size(), averageText.size()});
    m_keptText.append(line).append(totalText).append(averageText);
    Game game{};
    game.summary = KeptAsLine;
    m_games.push_back(game);
}

inline QByteArrayView Games::gameCell(const Game &game, int col) const {
    switch (col) {
    case 0:
        return QByteArrayView(game.stamp + 5, 11);
    case RecentTable::TotalCol:
        return m_summaries[game.summary].first;
    case RecentTable::AverageCol:
        return m_summaries[game.summary].second;
    case RecentTable::StampCol:
        return QByteArrayView(game.stamp, StampSize);
    default:
        return Numbers.of(game.values[col - 1]);
    }
}

QByteArrayView Games::cell(int row, int col) const {
    if (row < 0 || row >= rows() || col < 0 || col >= RecentTable::Columns)
        return {};
    if (row >= games())
        return col == 0 ? QByteArrayView(RecentTable::Placeholder) : QByteArrayView();
    const size_t index = m_games.size() - 1 - size_t(row);
    const Game &game = m_games[index];
    return game.summary == KeptAsLine ? keptCell(index, col) : gameCell(game, col);
}

void Games::visit(const GameVisitor &visit) const {
    std::array<int, Values> values;
    for (size_t index = 0; index < m_games.size(); ++index) {
        const Game &game = m_games[index];
        if (game.summary == KeptAsLine) {
            for (int col = 1; col <= Values; ++col)
                values[size_t(col - 1)] =
                    AveragesTable::validValue(keptCell(index, col), m_playMode);
            visit(keptCell(index, StampCol), values);
            continue;
        }
        for (size_t t = 0; t < size_t(Values); ++t)
            values[t] = game.values[t] <= m_highestValid ? game.values[t] : -1;
        visit(QByteArrayView(game.stamp, StampSize), values);
    }
}

QByteArrayView Games::keptCell(size_t game, int col) const {
    const KeptLine &kept =
        *std::lower_bound(m_keptLines.begin(), m_keptLines.end(), game,
                          [](const KeptLine &line, size_t index) { return line.game < index; });
    const QByteArrayView texts(m_keptText.constData() + kept.start,
                               kept.lineSize + kept.totalSize + kept.averageSize);
    const QByteArrayView line = texts.first(kept.lineSize);
    const QByteArrayView stamp = field(line, 0).first;
    switch (col) {
    case 0:
        return stamp.size() > 5 ? stamp.sliced(5, std::min<qsizetype>(11, stamp.size() - 5))
                                : QByteArrayView();
    case RecentTable::TotalCol:
        return texts.sliced(kept.lineSize, kept.totalSize);
    case RecentTable::AverageCol:
        return texts.sliced(kept.lineSize + kept.totalSize);
    case RecentTable::StampCol:
        return stamp;
    default:
        return field(line, col).first;
    }
}

void setUp(GridModel &grid) {
    ScoreColumns::setUp(grid, MinRows, Columns);
    grid.setColWidth(StampCol, 0); // the hidden date key
    for (int row = 0; row < MinRows; ++row)
        grid.setText(row, 0, QString::fromLatin1(Placeholder));
}

Tallies fill(GridModel &grid, QByteArrayView content, qint32 playMode) {
    auto games = std::make_shared<Games>(playMode);
    Tallies tallies;
    games->read(content, tallies);
    // The newest games count in the smaller windows too.
    for (int row = 0; row < std::min(games->games(), 10); ++row) {
        for (int target = 1; target <= Values; ++target) {
            const int value = AveragesTable::validValue(games->cell(row, target), playMode);
            if (value < 0)
                continue;
            if (row < 3)
                tallies.add(AveragesTable::Newest3, target, value);
            tallies.add(AveragesTable::Newest10, target, value);
        }
    }
    grid.setRowSource(std::move(games));
    return tallies;
}

void readGames(const GridModel &grid, const GameVisitor &visit) {
    if (const auto *games = dynamic_cast<const Games *>(grid.rowSource()))
        games->visit(visit);
}

bool isPlaceholder(const GridModel &grid, int row) {
    // A game always keeps its date-time text, even one whose date reads "(NO DATA)".
    return grid.cellBytes(row, 0) == QByteArrayView(Placeholder) &&
           grid.cellBytes(row, StampCol).isEmpty();
}

Rewrite::Rewrite(const GridModel &grid, const QList<int> &selectedRows)
    : m_games(grid.rows()) {
    // Placeholder rows are only ever below the games.
    while (m_games > 0 && isPlaceholder(grid, m_games - 1))
        --m_games;
    m_selected.resize(size_t(m_games));
    for (int row : selectedRows) {
        if (row >= 0 && row < m_games)
            m_selected[size_t(row)] = m_deletes = true;
    }
}

void Rewrite::operator()(QByteArrayView bytes, bool last, QByteArray &out) {
    if (!m_partial.isEmpty()) {
        const qsizetype lf = bytes.indexOf('\n');
        m_partial.append(lf < 0 ? bytes : bytes.first(lf + 1));
        bytes = lf < 0 ? QByteArrayView() : bytes.sliced(lf + 1);
        if (lf < 0 && !last)
            return;
        take(m_partial, out);
        m_partial.clear();
    }
    for (qsizetype lf; (lf = bytes.indexOf('\n')) >= 0; bytes = bytes.sliced(lf + 1))
        take(bytes.first(lf + 1), out);
    if (last)
        take(bytes, out);
    else
        m_partial = bytes.toByteArray();
}

// A line that is no deleted game goes on as the file holds it, line end and all: the file is
// the one the table was filled from, so nothing the table does not show is lost.
void Rewrite::take(QByteArrayView line, QByteArray &out) {
    const QByteArrayView text = lineAt(line.data(), line.data() + line.size()).text;
    if (text.isEmpty() || m_game >= m_games) {
        out.append(line);
        return;
    }
    if (m_selected[size_t(m_games - 1 - m_game++)])
        m_deleted.append(text).append("\r\n");
    else
        out.append(line);
}

} // namespace RecentTable
