#include "stats/trendreport.h"

#include "stats/targetreport.h"

#include <cmath>

int TrendReport::gapFromText(const QString &text) {
    bool ok = false;
    const int minutes = text.trimmed().toInt(&ok);
    return ok && minutes >= 1 && minutes <= 1440 ? minutes : DefaultGapMinutes;
}

double TrendReport::lambdaFromText(const QString &text) {
    bool ok = false;
    const double lambda = text.trimmed().toDouble(&ok);
    return ok && lambda >= 0.05 && lambda <= 1.0 ? lambda : DefaultLambda;
}

int TrendReport::seriesFromText(const QString &text) {
    const QString trimmed = text.trimmed().toUpper();
    if (trimmed == QStringLiteral("BULL"))
        return PlayedGames::Targets;
    bool ok = false;
    const int target = trimmed.toInt(&ok);
    return ok && target >= 1 && target <= PlayedGames::Targets ? target : AllSeries;
}

QString TrendReport::seriesText(int series) {
    return series == AllSeries ? QStringLiteral("ALL") : TargetReport::targetText(series);
}

TrendReport::TrendReport(const PlayedGames &played, int gapMinutes, double lambda)
    : m_played(played)
    , m_lambda(lambda) {
    const std::vector<PlayedGames::Game> &games = played.games();
    const qint64 gap = qint64(gapMinutes) * 60;
    for (int i = 0; i < int(games.size()); ++i) {
        // Exactly the gap still joins.
        if (i == 0 || games[size_t(i)].time - games[size_t(i) - 1].time > gap)
            m_sessions.push_back({games[size_t(i)].time, i, 0, {}});
        ++m_sessions.back().games;
    }

    // Every series in one pass over the games.
    const int sessions = int(m_sessions.size());
    std::vector<Trend> trends(SeriesCount);
    std::vector<HitRate::Tally> last(SeriesCount), before(SeriesCount);
    for (int s = 0; s < sessions; ++s) {
        Session &session = m_sessions[size_t(s)];
        std::array<HitRate::Tally, PlayedGames::Targets> tallies{};
        for (int g = session.firstGame; g < session.firstGame + session.games; ++g)
            played.addGame(games[size_t(g)], tallies);
        for (const HitRate::Tally &tally : tallies)
            session.all.add(tally);
        for (int series = 0; series < SeriesCount; ++series) {
            const HitRate::Tally &own =
                series == AllSeries ? session.all : tallies[size_t(series - 1)];
            trends[size_t(series)].take(own, lambda);
            if (s >= sessions - Newest)
                last[size_t(series)].add(own);
            else if (s >= sessions - Newest - Before)
                before[size_t(series)].add(own);
        }
    }
    for (int i = 0; i < SeriesCount; ++i) {
        const int series = (i + 1) % SeriesCount; // the targets, then every target
        Row row{series, trends[size_t(series)].estimate, last[size_t(series)],
                before[size_t(series)], NoData};
        if (row.now)
            row.verdict = verdictOf(row.last, row.before, sessions, series == AllSeries);
        m_rows.push_back(row);
    }
}

void TrendReport::Trend::take(const HitRate::Tally &session, double lambda) {
    const double keep = 1 - lambda;
    weighted = {session.hits + keep * weighted.hits, session.darts + keep * weighted.darts};
    if (!weighted.empty())
        estimate = weighted.rate();
}

TrendReport::Verdict TrendReport::verdictOf(const HitRate::Tally &last,
                                            const HitRate::Tally &before, int sessions,
                                            bool allTargets) {
    if (sessions < LeastSessions)
        return TooFewSessions;
    if (last.darts < LeastDarts || before.darts < LeastDarts)
        return TooFewDarts;
    const double pooled = (last.hits + before.hits) / (last.darts + before.darts);
    if (pooled <= 0 || pooled >= 1)
        return Steady;
    const double z = HitRate::twoProportionZ(last, before);
    const double needed = allTargets ? HitRate::ZChangeAll : HitRate::ZChangeTargets;
    return z >= needed ? Better : z <= -needed ? Worse : Steady;
}

std::vector<TrendReport::Point> TrendReport::points(int series) const {
    const std::vector<PlayedGames::Game> &games = m_played.games();
    std::vector<Point> points;
    points.reserve(m_sessions.size());
    Trend trend;
    for (const Session &session : m_sessions) {
        HitRate::Tally own = session.all;
        if (series != AllSeries) {
            own = {};
            for (int g = session.firstGame; g < session.firstGame + session.games; ++g)
                own.add(m_played.tallyOf(games[size_t(g)].values[size_t(series - 1)]));
        }
        trend.take(own, m_lambda);
        points.push_back(
            {own.empty() ? std::nullopt : std::optional(own.rate()), trend.estimate, trend.band()});
    }
    return points;
}

QString TrendReport::verdictText(Verdict verdict) {
    switch (verdict) {
    case NoData:
        return QStringLiteral("NO DATA");
    case TooFewSessions:
        return QStringLiteral("TOO FEW SESSIONS");
    case TooFewDarts:
        return QStringLiteral("TOO FEW DARTS");
    case Steady:
        return QStringLiteral("STEADY");
    case Better:
        return QStringLiteral("BETTER");
    case Worse:
        return QStringLiteral("WORSE");
    }
    return {};
}
