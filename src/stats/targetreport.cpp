#include "stats/targetreport.h"

#include <algorithm>
#include <limits>

namespace {

constexpr qint64 SecondsPerDay = 86400;
constexpr double FocusChance = 0.05;
constexpr size_t MostFocus = 3;

} // namespace

int TargetReport::periodFromText(const QString &text) {
    if (text.trimmed().compare(QStringLiteral("ALL"), Qt::CaseInsensitive) == 0)
        return 0;
    bool ok = false;
    const int days = text.trimmed().toInt(&ok);
    return ok && days > 0 && std::ranges::count(PeriodDays, days) ? days : DefaultPeriodDays;
}

QString TargetReport::periodText(int days) {
    return days > 0 ? QString::number(days) : QStringLiteral("ALL");
}

TargetReport::TargetReport(const PlayedGames &played, int periodDays) {
    const std::vector<PlayedGames::Game> &games = played.games();
    // From the newest game back, so that a report never changes overnight.
    const qint64 from = games.empty() || periodDays <= 0
                            ? std::numeric_limits<qint64>::min()
                            : games.back().time - periodDays * SecondsPerDay;
    std::array<HitRate::Tally, PlayedGames::Targets> tallies{};
    const auto first = std::ranges::lower_bound(games, from, {}, &PlayedGames::Game::time);
    for (auto game = first; game != games.end(); ++game)
        played.addGame(*game, tallies);
    m_games = int(games.end() - first);

    const std::vector<double> chances = HitRate::chanceWorst(tallies);
    Row all;
    for (const HitRate::Tally &tally : tallies)
        all.tally.add(tally);
    all.range = HitRate::wilson(all.tally, HitRate::Z95);
    all.verdict = NoVerdict;
    for (int t = 0; t < PlayedGames::Targets; ++t) {
        Row row{t + 1, tallies[size_t(t)], HitRate::wilson(tallies[size_t(t)], HitRate::Z95),
                chances[size_t(t)], NoData};
        if (!row.tally.empty()) {
            const HitRate::Range strict = HitRate::wilson(row.tally, HitRate::ZTargets);
            row.verdict = strict.high < all.tally.rate()  ? Weak
                          : strict.low > all.tally.rate() ? Strong
                                                          : NotSure;
        }
        m_rows.push_back(row);
    }
    m_rows.push_back(all);

    std::vector<Row> likeliest(m_rows.begin(), m_rows.begin() + AllRow);
    std::ranges::stable_sort(likeliest, std::greater{}, &Row::chance);
    for (const Row &row : likeliest)
        if (row.chance >= FocusChance && m_focus.size() < MostFocus)
            m_focus.push_back(row.target);
}

QString TargetReport::verdictText(Verdict verdict) {
    switch (verdict) {
    case NoData:
        return QStringLiteral("NO DATA");
    case Weak:
        return QStringLiteral("WEAK");
    case Strong:
        return QStringLiteral("STRONG");
    case NotSure:
        return QStringLiteral("NOT SURE");
    case NoVerdict:
        break;
    }
    return {};
}

QString TargetReport::targetText(int target) {
    return target == 0                      ? QStringLiteral("ALL TARGETS")
           : target == PlayedGames::Targets ? QStringLiteral("BULL")
                                            : QString::number(target);
}

QString TargetReport::focusLine() const {
    if (m_games == 0)
        return QStringLiteral("NO GAMES YET");
    if (m_focus.empty())
        return QStringLiteral("NO CLEAR WEAK SPOT YET");
    QStringList targets;
    for (int target : m_focus)
        targets << targetText(target);
    return QStringLiteral("FOCUS FIRST: ") + targets.join(QStringLiteral(", "));
}
