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
constexpr int DateSize = 11;     // "MM/dd HH:mm", shown from it
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
    Reader reader(*this, playMode);
    reader.add(content, content.size());
    reader.finish();
}

// The total of plain values is at most 21 times 254.
StoredGames::Reader::Reader(StoredGames &games, Mode playMode)
    : m_games(games)
    , m_summaryOf(size_t(Values * HighestPlain + 1) * (Values + 1), KeptAsLine)
    , m_valueCounts(Values) {
    games.clear();
    games.m_playMode = playMode;
    games.m_highestValid = playMode == Mode::A ? 99 : 3;
}

void StoredGames::Reader::add(QByteArrayView bytes, qint64 totalBytes) {
    if (bytes.isEmpty())
        return; // no room made for nothing
    // Room for the games still to come, estimated from the lines read so far, or from the line
    // ends of the first bytes: a little more rather than less, as a table grown late is copied.
    auto &games = m_games.m_games;
    const double linesPerByte =
        m_bytesRead > 0
            ? double(games.size()) / double(m_bytesRead)
            : double(std::count(bytes.begin(), bytes.end(), '\n')) / double(bytes.size());
    const double left = double(std::max(totalBytes - m_bytesRead, qint64(bytes.size())));
    if (games.capacity() - games.size() < size_t(double(bytes.size()) * linesPerByte) + 1)
        games.reserve(games.size() + size_t(left * linesPerByte * 1.01) + 16);
    m_bytesRead += bytes.size();

    const char *end = bytes.data() + bytes.size();
    const char *start = bytes.data();
    if (!m_partial.isEmpty()) {
        const auto *lf = static_cast<const char *>(std::memchr(start, '\n', size_t(end - start)));
        m_partial.append(QByteArrayView(start, lf ? lf + 1 : end));
        if (!lf)
            return;
        take(RecentTable::lineAt(m_partial.cbegin(), m_partial.cend()).text);
        m_partial.clear();
        start = lf + 1;
    }
    while (start < end) {
        const RecentTable::Line line = RecentTable::lineAt(start, end);
        if (line.next == end && end[-1] != '\n') {
            m_partial = QByteArray(start, end - start);
            break;
        }
        take(line.text);
        start = line.next;
    }
}

void StoredGames::Reader::take(QByteArrayView line) {
    if (!line.isEmpty() && !addPlain(line))
        m_games.keepLine(line);
}

void StoredGames::Reader::finish() {
    take(RecentTable::lineAt(m_partial.cbegin(), m_partial.cend()).text);
    m_partial.clear();
    StoredGames &games = m_games;
    if (games.m_games.capacity() > games.m_games.size() + games.m_games.size() / 4)
        games.m_games.shrink_to_fit(); // a file of many empty lines
    games.tallyNewest();
    if (games.m_games.size() > games.m_keptLines.size()) {
        games.m_longestSize[0] = std::max<qsizetype>(games.m_longestSize[0], DateSize);
        games.m_longestSize[RecentTable::StampCol] = StampSize;
    }
    for (int target = 1; target <= Values; ++target) {
        const std::array<quint32, 256> &counts = m_valueCounts[size_t(target - 1)];
        for (int value = 0; value <= HighestPlain; ++value) {
            if (counts[size_t(value)] == 0)
                continue;
            games.m_longestSize[size_t(target)] =
                std::max<qsizetype>(games.m_longestSize[size_t(target)], Numbers.sizes[value]);
            if (value <= games.m_highestValid)
                games.m_tallies.add(AveragesTable::All, target, value, int(counts[size_t(value)]));
        }
    }
    games.findLongest();
}

void StoredGames::remove(const QList<int> &rows) {
    std::vector<bool> gone(m_games.size());
    size_t first = m_games.size();
    for (int row : rows) {
        if (row < 0 || row >= count())
            continue;
        const size_t index = m_games.size() - 1 - size_t(row);
        gone[index] = true;
        first = std::min(first, index);
    }
    for (size_t index = first; index < m_games.size(); ++index) {
        if (!gone[index])
            continue;
        const std::array<int, Values> values = validValues(index);
        for (int target = 1; target <= Values; ++target) {
            if (values[size_t(target - 1)] >= 0)
                m_tallies.add(AveragesTable::All, target, values[size_t(target - 1)], -1);
        }
    }

    // The games after the first deleted one move down, their kept lines and texts with them.
    auto keptFrom =
        std::lower_bound(m_keptLines.begin(), m_keptLines.end(), first,
                         [](const KeptLine &line, size_t index) { return line.game < index; });
    auto keptTo = keptFrom;
    qsizetype textTo = keptFrom == m_keptLines.end() ? m_keptText.size() : keptFrom->start;
    size_t to = first;
    for (size_t from = first; from < m_games.size(); ++from) {
        const bool kept = keptFrom != m_keptLines.end() && keptFrom->game == from;
        if (gone[from]) {
            keptFrom += kept ? 1 : 0;
            continue;
        }
        if (kept) {
            KeptLine line = *keptFrom++;
            const qsizetype bytes = line.lineSize + line.totalSize + line.averageSize;
            std::memmove(m_keptText.data() + textTo, m_keptText.constData() + line.start,
                         size_t(bytes));
            line.start = textTo;
            line.game = to;
            textTo += bytes;
            *keptTo++ = line;
        }
        m_games[to++] = m_games[from];
    }
    m_games.resize(to);
    m_keptLines.erase(keptTo, m_keptLines.end());
    m_keptText.truncate(textTo);

    m_tallies.reset(AveragesTable::Newest3);
    m_tallies.reset(AveragesTable::Newest10);
    tallyNewest();
    findLongest(); // no longer than before: the sizes found stop the search
}

bool StoredGames::Reader::addPlain(QByteArrayView line) {
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

    quint16 &summary = m_summaryOf[size_t(total) * (Values + 1) + size_t(count)];
    auto &summaries = m_games.m_summaries;
    if (summary == KeptAsLine) {
        if (summaries.size() >= KeptAsLine)
            return false;
        summary = quint16(summaries.size());
        const NumberText::Pattern pattern = NumberText::averagePattern(m_games.m_playMode);
        summaries.emplace_back(NumberText::formatWhole(total).toLatin1(),
                               count > 0
                                   ? NumberText::format(double(total) / count, pattern).toLatin1()
                                   : QByteArray());
        auto &longest = m_games.m_longestSize;
        longest[RecentTable::TotalCol] =
            std::max(longest[RecentTable::TotalCol], summaries.back().first.size());
        longest[RecentTable::AverageCol] =
            std::max(longest[RecentTable::AverageCol], summaries.back().second.size());
    }
    game.summary = summary;
    m_games.m_games.push_back(game);
    for (size_t t = 0; t < size_t(Values); ++t)
        ++m_valueCounts[t][game.values[t]];
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
    for (int col = 0; col < RecentTable::Columns; ++col)
        m_longestSize[size_t(col)] =
            std::max(m_longestSize[size_t(col)], keptCell(m_keptLines.back(), col).size());
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
        return QByteArrayView(game.stamp + 5, DateSize);
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
    for (size_t index = 0; index < m_games.size(); ++index) {
        const Game &game = m_games[index];
        visit(game.summary == KeptAsLine ? keptCell(index, RecentTable::StampCol)
                                         : QByteArrayView(game.stamp, StampSize),
              validValues(index));
    }
}

std::array<int, Values> StoredGames::validValues(size_t index) const {
    std::array<int, Values> values;
    const Game &game = m_games[index];
    if (game.summary == KeptAsLine) {
        for (size_t t = 0; t < size_t(Values); ++t)
            values[t] = AveragesTable::validValue(keptCell(index, int(t) + 1), m_playMode);
        return values;
    }
    for (size_t t = 0; t < size_t(Values); ++t)
        values[t] = game.values[t] <= m_highestValid ? game.values[t] : -1;
    return values;
}

QByteArrayView StoredGames::longest(int col) const {
    return col < 0 || col >= RecentTable::Columns ? QByteArrayView()
                                                  : cell(m_longestRow[size_t(col)], col);
}

// The newest cell of each column as long as the longest, the sizes found so far its bound.
void StoredGames::findLongest() {
    for (size_t col = 0; col < size_t(RecentTable::Columns); ++col) {
        qsizetype size = 0;
        int holder = -1;
        for (int row = 0; row < count() && size < m_longestSize[col]; ++row) {
            if (const qsizetype cellSize = cell(row, int(col)).size(); cellSize > size) {
                size = cellSize;
                holder = row;
            }
        }
        m_longestSize[col] = size;
        m_longestRow[col] = holder;
    }
}

QByteArrayView StoredGames::keptCell(size_t game, int col) const {
    return keptCell(
        *std::lower_bound(m_keptLines.begin(), m_keptLines.end(), game,
                          [](const KeptLine &line, size_t index) { return line.game < index; }),
        col);
}

QByteArrayView StoredGames::keptCell(const KeptLine &kept, int col) const {
    const QByteArrayView texts(m_keptText.constData() + kept.start,
                               kept.lineSize + kept.totalSize + kept.averageSize);
    const QByteArrayView line = texts.first(kept.lineSize);
    const QByteArrayView stamp = field(line, 0).first;
    switch (col) {
    case 0:
        return stamp.size() > 5 ? stamp.sliced(5, std::min<qsizetype>(DateSize, stamp.size() - 5))
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
