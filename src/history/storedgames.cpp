#include "history/storedgames.h"

#include "entry/numbertext.h"
#include "history/historyline.h"
#include "history/recenttable.h"
#include "settings/playmode.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

using AveragesTable::Tallies;
using HistoryLine::Values;

constexpr int LastFieldCol = 24; // fields past this one are not shown
constexpr int StampSize = 19;    // "yyyy/MM/dd HH:mm:ss"
constexpr int HighestPlain = 254;
constexpr quint8 NoValue = 255;
constexpr quint16 KeptAsLine = 0xffff; // also the most summaries there can be

// The texts "0" to "254" and, for NoValue, the empty text: the cell of a value points into
// them.
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

    char bytes[NoValue + 1][3]{};
    quint8 sizes[NoValue + 1]{};
};
constexpr NumberTexts Numbers;

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

void StoredGames::read(QByteArrayView content, Mode playMode) {
    clear();
    m_playMode = playMode;
    m_highestValid = playMode == Mode::A ? 99 : 3;
    m_games.reserve(size_t(std::count(content.begin(), content.end(), '\n')) + 1);
    // Summary indexes by total and count; the total of plain values is at most 21 times 254.
    std::vector<quint16> summaryOf(size_t(Values * HighestPlain + 1) * (Values + 1), KeptAsLine);
    const char *end = content.data() + content.size();
    for (const char *start = content.data(); start < end;) {
        const RecentTable::Line line = RecentTable::lineAt(start, end);
        if (!line.text.isEmpty() && !addPlain(line.text, summaryOf))
            keepLine(line.text);
        start = line.next;
    }
    if (m_games.capacity() > m_games.size() + m_games.size() / 4)
        m_games.shrink_to_fit(); // a file of many empty lines
    tallyNewest();
}

bool StoredGames::addPlain(QByteArrayView line, std::vector<quint16> &summaryOf) {
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
        const NumberText::Pattern pattern = NumberText::averagePattern(m_playMode);
        m_summaries.emplace_back(NumberText::formatWhole(total).toLatin1(),
                                 count > 0
                                     ? NumberText::format(double(total) / count, pattern).toLatin1()
                                     : QByteArray());
    }
    game.summary = summary;
    m_games.push_back(game);
    for (int target = 1; target <= Values; ++target) {
        if (game.values[target - 1] <= m_highestValid)
            m_tallies.add(AveragesTable::All, target, game.values[target - 1]);
    }
    return true;
}

void StoredGames::keepLine(QByteArrayView line) {
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
            m_tallies.add(AveragesTable::All, col, value);
    }
    const QByteArray totalText = NumberText::formatWhole(total).toLatin1();
    const QByteArray averageText =
        count > 0
            ? NumberText::format(total / count, NumberText::averagePattern(m_playMode)).toLatin1()
            : QByteArray();
    m_keptLines.push_back(
        {m_games.size(), m_keptText.size(), line.size(), totalText.size(), averageText.size()});
    m_keptText.append(line).append(totalText).append(averageText);
    Game game{};
    game.summary = KeptAsLine;
    m_games.push_back(game);
}

// The newest games count in the smaller windows too.
void StoredGames::tallyNewest() {
    for (int row = 0; row < std::min(count(), 10); ++row) {
        for (int target = 1; target <= Values; ++target) {
            const int value = AveragesTable::validValue(cell(row, target), m_playMode);
            if (value < 0)
                continue;
            if (row < 3)
                m_tallies.add(AveragesTable::Newest3, target, value);
            m_tallies.add(AveragesTable::Newest10, target, value);
        }
    }
}

inline QByteArrayView StoredGames::gameCell(const Game &game, int col) const {
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

QByteArrayView StoredGames::cell(int row, int col) const {
    if (row < 0 || row >= count() || col < 0 || col >= RecentTable::Columns)
        return {};
    const size_t index = m_games.size() - 1 - size_t(row);
    const Game &game = m_games[index];
    return game.summary == KeptAsLine ? keptCell(index, col) : gameCell(game, col);
}

void StoredGames::visit(const Visitor &visit) const {
    std::array<int, Values> values;
    for (size_t index = 0; index < m_games.size(); ++index) {
        const Game &game = m_games[index];
        if (game.summary == KeptAsLine) {
            for (int col = 1; col <= Values; ++col)
                values[size_t(col - 1)] =
                    AveragesTable::validValue(keptCell(index, col), m_playMode);
            visit(keptCell(index, RecentTable::StampCol), values);
            continue;
        }
        for (size_t t = 0; t < size_t(Values); ++t)
            values[t] = game.values[t] <= m_highestValid ? game.values[t] : -1;
        visit(QByteArrayView(game.stamp, StampSize), values);
    }
}

QByteArrayView StoredGames::keptCell(size_t game, int col) const {
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
