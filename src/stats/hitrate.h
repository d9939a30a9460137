#pragma once

#include <span>
#include <vector>

// Hits in darts and how sure a hit rate is: the Wilson score interval, the two-proportion
// z-test and the chance that a target is the weakest (Thompson sampling's posterior
// probability). Counts are doubles: the trend weighs them down to fractions.
namespace HitRate {

// 95 % two-sided; and 95 % one-sided with the Bonferroni correction for 21 targets.
inline constexpr double Z95 = 1.959964;
inline constexpr double ZTargets = 2.8227;
// A trend's band, and the two-sided tests of a change over 21 targets and over all of them.
inline constexpr double ZBand = 1.96;
inline constexpr double ZChangeTargets = 3.0381;
inline constexpr double ZChangeAll = 1.96;

struct Tally {
    double hits = 0;
    double darts = 0;

    void add(const Tally &other) {
        hits += other.hits;
        darts += other.darts;
    }
    bool empty() const { return !(darts > 0); }
    // hits ÷ darts; 0 without darts.
    double rate() const { return empty() ? 0 : hits / darts; }
};

struct Range {
    double low = 0;
    double high = 1;
};

// The Wilson score interval of the tally, clipped to 0-1 and always holding the rate; 0-1
// without darts.
Range wilson(const Tally &tally, double z);

// (p1 − p2) ÷ √(p(1−p)(1/n1 + 1/n2)) with the pooled p; 0 when either has no darts or the
// pooled rate is 0 or 1.
double twoProportionZ(const Tally &first, const Tally &second);

// For each tally, the chance that its true rate is the lowest when each rate follows
// Beta(hits + 1, darts − hits + 1); 0 for a tally without darts, and the rest sum to 1.
std::vector<double> chanceWorst(std::span<const Tally> tallies);

} // namespace HitRate
