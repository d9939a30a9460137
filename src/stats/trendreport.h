#pragma once

#include "stats/hitrate.h"
#include "stats/playedgames.h"

#include <QString>

#include <optional>
#include <vector>

// Whether the player is getting better: the games grouped into sessions by the gap between
// them, an exponentially weighted moving rate per target with its Wilson band, and the newest
// three sessions tested against the ten before them.
class TrendReport {
public:
    enum Verdict { NoData, TooFewSessions, TooFewDarts, Steady, Better, Worse };
    // Series 1 to 21 are the targets; 0 is every target together.
    static constexpr int AllSeries = 0;
    static constexpr int SeriesCount = PlayedGames::Targets + 1;

    static constexpr int DefaultGapMinutes = 45;
    static constexpr double DefaultLambda = 0.3;
    static constexpr int Newest = 3;  // sessions in LAST 3
    static constexpr int Before = 10; // at most, in BEFORE
    static constexpr int LeastSessions = 4;
    static constexpr double LeastDarts = 30;

    // Remembered settings; anything out of range, or not a number, is the default.
    static int gapFromText(const QString &text);       // 1 to 1440 minutes
    static double lambdaFromText(const QString &text); // 0.05 to 1.0
    static int seriesFromText(const QString &text);    // "ALL", "1".."20", "BULL"
    static QString seriesText(int series);

    struct Session {
        qint64 start = 0;
        int firstGame = 0;
        int games = 0;
        HitRate::Tally all;
    };

    // One session of a series in the chart.
    struct Point {
        std::optional<double> own;   // the session's own rate; none without darts
        std::optional<double> trend; // E; none before the first darts
        HitRate::Range band;
    };

    struct Row {
        int series = 0;
        std::optional<double> now;
        HitRate::Tally last;
        HitRate::Tally before;
        Verdict verdict = NoData;
    };

    TrendReport(const PlayedGames &games, int gapMinutes, double lambda);

    // Oldest first.
    const std::vector<Session> &sessions() const { return m_sessions; }
    // The 21 targets in order, then every target together.
    const std::vector<Row> &rows() const { return m_rows; }
    // A series session by session, oldest first.
    std::vector<Point> points(int series) const;

    static QString verdictText(Verdict verdict);

    // The exponentially weighted moving rate: H and N decay by 1 − λ and take each session's
    // counts; E = H ÷ N stays where it was after a session without darts. The band is the
    // Wilson range of H and N.
    struct Trend {
        HitRate::Tally weighted;
        std::optional<double> estimate;

        void take(const HitRate::Tally &session, double lambda);
        HitRate::Range band() const { return HitRate::wilson(weighted, HitRate::ZBand); }
    };
    // The verdict of the newest sessions against those before them.
    static Verdict verdictOf(const HitRate::Tally &last, const HitRate::Tally &before, int sessions,
                             bool allTargets);

private:
    const PlayedGames &m_played;
    double m_lambda;
    std::vector<Session> m_sessions;
    std::vector<Row> m_rows;
};
