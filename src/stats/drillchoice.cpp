#include "stats/drillchoice.h"

#include "history/storedgames.h"

#include <algorithm>
#include <numeric>

int DrillChoice::targetsFromText(const QString &text) {
    bool ok = false;
    const int targets = text.trimmed().toInt(&ok);
    return ok && targets >= 1 && targets <= PlayedGames::Targets ? targets : DefaultTargets;
}

PlayedGames DrillChoice::played(const StoredGames &games, const StoredGames *drills,
                                Mode playMode) {
    PlayedGames played(playMode);
    for (const StoredGames *stored : {&games, drills})
        if (stored)
            stored->visit([&](QByteArrayView stamp, std::span<const int, 21> values) {
                played.add(stamp, values);
            });
    played.finish();
    return played;
}

DrillChoice::Counts DrillChoice::trendCounts(const PlayedGames &played, int gapMinutes,
                                             double lambda) {
    // The trends' sessions and weighting in one pass, with a table of what each value stands
    // for, so that a pick stays quick at ten million games.
    std::array<HitRate::Tally, PlayedGames::NoValue + 1> tallyOf{};
    for (size_t value = 0; value < tallyOf.size(); ++value)
        tallyOf[value] = played.tallyOf(quint8(value));
    const std::vector<PlayedGames::Game> &games = played.games();
    const qint64 gap = qint64(gapMinutes) * 60;
    const double keep = 1 - lambda;
    Counts weighted{}, session{};
    for (size_t g = 0; g < games.size(); ++g) {
        for (size_t t = 0; t < session.size(); ++t)
            session[t].add(tallyOf[games[g].values[t]]);
        // Exactly the gap still joins.
        if (g + 1 < games.size() && games[g + 1].time - games[g].time <= gap)
            continue;
        for (size_t t = 0; t < session.size(); ++t)
            weighted[t] = {session[t].hits + keep * weighted[t].hits,
                           session[t].darts + keep * weighted[t].darts};
        session = {};
    }
    return weighted;
}

double DrillChoice::betaDraw(double a, double b, std::mt19937_64 &random) {
    const double g1 = std::gamma_distribution<double>(a, 1.0)(random);
    const double g2 = std::gamma_distribution<double>(b, 1.0)(random);
    // Both underflow only for tiny shapes, which Beta(H + 1, ·) never has.
    return g1 + g2 > 0 ? g1 / (g1 + g2) : 0.5;
}

std::vector<int> DrillChoice::choose(const Counts &counts, int count, std::mt19937_64 &random) {
    std::array<double, PlayedGames::Targets> draws{};
    for (size_t t = 0; t < counts.size(); ++t) {
        const double hits = std::clamp(counts[t].hits, 0.0, counts[t].darts);
        draws[t] = betaDraw(hits + 1, counts[t].darts - hits + 1, random);
    }
    std::vector<int> targets(PlayedGames::Targets);
    std::iota(targets.begin(), targets.end(), 0);
    std::stable_sort(targets.begin(), targets.end(),
                     [&](int a, int b) { return draws[size_t(a)] < draws[size_t(b)]; });
    targets.resize(size_t(std::clamp(count, 1, PlayedGames::Targets)));
    std::sort(targets.begin(), targets.end());
    return targets;
}
