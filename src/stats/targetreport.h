#pragma once

#include "stats/hitrate.h"
#include "stats/playedgames.h"

#include <QString>
#include <QStringList>

#include <vector>

// Where the player is weak: per target, the darts and hits of a period measured back from the
// newest game, the rate with its range, the chance of being the weakest and a verdict against
// the rate of all targets.
class TargetReport {
public:
    enum Verdict { NoData, Weak, Strong, NotSure, NoVerdict };
    static constexpr int AllRow = PlayedGames::Targets; // row index of ALL TARGETS

    struct Row {
        int target = 0; // 1 to 21; 0 on the ALL row
        HitRate::Tally tally;
        HitRate::Range range;
        double chance = 0; // 0 to 1
        Verdict verdict = NoData;
    };

    // The periods offered; 0 is every game.
    static constexpr std::array<int, 4> PeriodDays{7, 30, 90, 0};
    static constexpr int DefaultPeriodDays = 30;
    // A remembered period: "7", "30", "90" or "ALL"; anything else is the default.
    static int periodFromText(const QString &text);
    static QString periodText(int days);

    TargetReport(const PlayedGames &games, int periodDays);

    // The 21 targets in order, then ALL TARGETS.
    const std::vector<Row> &rows() const { return m_rows; }
    // Up to three targets at least 5 % likely to be the weakest, the likeliest first.
    const std::vector<int> &focus() const { return m_focus; }
    int games() const { return m_games; }

    static QString verdictText(Verdict verdict);
    static QString targetText(int target); // "7", "BULL", "ALL TARGETS"
    // "FOCUS FIRST: 7, BULL", "NO CLEAR WEAK SPOT YET" or "NO GAMES YET".
    QString focusLine() const;

private:
    std::vector<Row> m_rows;
    std::vector<int> m_focus;
    int m_games = 0;
};
