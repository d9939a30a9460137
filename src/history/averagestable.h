#pragma once

#include "settings/playmode.h"

#include <QByteArrayView>

#include <array>

class GridModel;

// The averages table: AVG and HIT of every target over the newest 3, the newest 10 and all
// games of the recent table, with a sum and a mean per row.
namespace AveragesTable {

inline constexpr int Rows = 6;
inline constexpr int Columns = 24;
inline constexpr int Targets = 21;

// The windows of games, by row position in the recent table: an empty or invalid cell still
// uses up a place.
enum Window { Newest3, Newest10, All, Windows };

// The sums and counts of the valid values of every target in every window.
class Tallies {
public:
    // A valid value of a target (1 to 21), counted in one window; -1 times takes it out.
    void add(Window window, int target, int value, int times = 1) {
        Tally &tally = m_tallies[size_t(target - 1)][window];
        tally.sum += qint64(value) * times;
        tally.games += times;
    }
    void reset(Window window) {
        for (auto &target : m_tallies)
            target[window] = {};
    }
    bool operator==(const Tallies &) const = default;

private:
    friend void calculate(GridModel &averages, const Tallies &tallies, Mode playMode);

    struct Tally {
        qint64 sum = 0;
        qint64 games = 0;
        bool operator==(const Tally &) const = default;
    };
    std::array<std::array<Tally, Windows>, Targets> m_tallies{};
};

// Empties the grid into its 6 labelled rows with the table's widths and alignments.
void setUp(GridModel &grid);
// Fills the set-up grid from the tallies of the recent table of the play mode.
void calculate(GridModel &averages, const Tallies &tallies, Mode playMode);

// The value of a text valid for the mode ("0".."99" in mode A, "0".."3" in mode B), else -1.
int validValue(QByteArrayView text, Mode playMode);

} // namespace AveragesTable
