#include "stats/playedgames.h"

#include "settings/playmode.h"
#include "stats/stamptime.h"

#include <algorithm>

PlayedGames::PlayedGames(Mode playMode)
    : m_playMode(playMode) {
}

void PlayedGames::add(QByteArrayView stamp, std::span<const int, Targets> values) {
    const std::optional<qint64> time = StampTime::seconds(stamp);
    if (!time) {
        ++m_undated;
        return;
    }
    Game game;
    game.time = *time;
    for (int t = 0; t < Targets; ++t)
        game.values[size_t(t)] = values[size_t(t)] >= 0 && values[size_t(t)] < NoValue
                                     ? quint8(values[size_t(t)])
                                     : NoValue;
    m_games.push_back(game);
}

void PlayedGames::finish() {
    if (!std::is_sorted(m_games.begin(), m_games.end(),
                        [](const Game &a, const Game &b) { return a.time < b.time; }))
        std::stable_sort(m_games.begin(), m_games.end(),
                         [](const Game &a, const Game &b) { return a.time < b.time; });
}

HitRate::Tally PlayedGames::tallyOf(quint8 value) const {
    if (value == NoValue)
        return {};
    if (m_playMode == Mode::A)
        return value > 0 ? HitRate::Tally{1, double(value)} : HitRate::Tally{};
    return {double(value), 3};
}

void PlayedGames::addGame(const Game &game, std::array<HitRate::Tally, Targets> &tallies) const {
    for (size_t t = 0; t < Targets; ++t)
        tallies[t].add(tallyOf(game.values[t]));
}
