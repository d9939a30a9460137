#pragma once

#include "settings/playmode.h"
#include "stats/hitrate.h"
#include "stats/playedgames.h"

#include <QString>

class StoredGames;

#include <array>
#include <random>
#include <vector>

// Which targets a focus drill practises: Thompson sampling over each target's trend counts, so
// that a target is drawn first with exactly its chance of being the weakest. A target surely
// weak comes up often, an uncertain one is measured again, and one left alone for a while comes
// back as its weighted evidence fades.
class DrillChoice {
public:
    using Counts = std::array<HitRate::Tally, PlayedGames::Targets>;

    static constexpr int DefaultTargets = 5;
    // `[DRILL] TARGETS`: 1 to 21, anything else is the default.
    static int targetsFromText(const QString &text);

    // The games and the saved drills of the mode together, in time order.
    static PlayedGames played(const StoredGames &games, const StoredGames *drills, Mode playMode);

    // The weighted hits and darts of every target after the newest session, exactly as the
    // trends count them.
    static Counts trendCounts(const PlayedGames &played, int gapMinutes, double lambda);
    // A draw from Beta(a, b), as g1 ÷ (g1 + g2) of two gamma draws.
    static double betaDraw(double a, double b, std::mt19937_64 &random);
    // The `count` targets (0 to 20) whose draws from Beta(H + 1, N − H + 1) are lowest, ties to
    // the lower target, in board order with the bull last.
    static std::vector<int> choose(const Counts &counts, int count, std::mt19937_64 &random);
};
