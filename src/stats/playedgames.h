#pragma once

#include "settings/playmode.h"
#include "stats/hitrate.h"

#include <QByteArrayView>

#include <array>
#include <span>
#include <vector>

// The stored games of one mode as the statistics read them: each game's time and, per target,
// its hits and darts, oldest first by time. A game without a valid date-time is only counted.
class PlayedGames {
public:
    static constexpr int Targets = 21;
    static constexpr quint8 NoValue = 255;

    struct Game {
        qint64 time = 0;                      // seconds, StampTime
        std::array<quint8, Targets> values{}; // the valid value, or NoValue
    };

    explicit PlayedGames(Mode playMode);

    // A game's date-time text and its 21 valid values (−1 where the cell holds none), in the
    // order the file holds them.
    void add(QByteArrayView stamp, std::span<const int, Targets> values);
    // Puts the games in time order, keeping the file's order within a second.
    void finish();

    // The hits and darts a value stands for: mode B, v hits of 3 darts; mode A, 1 hit in v
    // darts, and a 0 is no attempt.
    HitRate::Tally tallyOf(quint8 value) const;
    void addGame(const Game &game, std::array<HitRate::Tally, Targets> &tallies) const;

    const std::vector<Game> &games() const { return m_games; }
    int undated() const { return m_undated; }
    Mode playMode() const { return m_playMode; }

private:
    Mode m_playMode;
    std::vector<Game> m_games;
    int m_undated = 0;
};
