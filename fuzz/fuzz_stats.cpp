// Feeds arbitrary counts to the statistics: each eight bytes of the input are one target's darts
// (up to ten million) and hits, at most 21 targets. Every range must hold its rate inside 0-1,
// the chances of being the weakest must sum to 1, and nothing may come out NaN or infinite.
#include "stats/hitrate.h"
#include "stats/trendreport.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t MostDarts = 10'000'000;

void require(bool condition) {
    if (!condition)
        std::abort();
}

bool unit(double value) {
    return std::isfinite(value) && value >= 0 && value <= 1;
}

void checkRange(const HitRate::Tally &tally, double z) {
    const HitRate::Range range = HitRate::wilson(tally, z);
    require(unit(range.low) && unit(range.high));
    if (!tally.empty())
        require(range.low <= tally.rate() && tally.rate() <= range.high);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::vector<HitRate::Tally> tallies;
    for (size_t at = 0; at + 8 <= size && tallies.size() < 21; at += 8) {
        uint32_t words[2];
        std::memcpy(words, data + at, sizeof words);
        const uint32_t darts = words[0] % (MostDarts + 1);
        tallies.push_back({double(words[1] % (darts + 1)), double(darts)});
    }
    bool any = false;
    HitRate::Tally all;
    TrendReport::Trend trend;
    const double lambda = size > 0 ? 0.05 + 0.95 * data[size - 1] / 255.0 : 0.3;
    for (const HitRate::Tally &tally : tallies) {
        any = any || !tally.empty();
        all.add(tally);
        for (double z : {HitRate::Z95, HitRate::ZTargets, HitRate::ZBand})
            checkRange(tally, z);
        // The weighted counts are fractions.
        trend.take(tally, lambda);
        checkRange(trend.weighted, HitRate::ZBand);
        require(!trend.estimate || unit(*trend.estimate));
    }
    require(std::isfinite(HitRate::twoProportionZ(all, trend.weighted)));

    const std::vector<double> chances = HitRate::chanceWorst(tallies);
    require(chances.size() == tallies.size());
    double sum = 0;
    for (size_t i = 0; i < chances.size(); ++i) {
        require(unit(chances[i]));
        require(!tallies[i].empty() || chances[i] == 0);
        sum += chances[i];
    }
    require(any ? std::abs(sum - 1) < 1e-9 : sum == 0);
    return 0;
}
