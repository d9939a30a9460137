#include "stats/hitrate.h"

#include <algorithm>
#include <cmath>

namespace {

// How far either side of its mean a rate's density is followed, in standard deviations, and
// with how many points. Beyond 20 even the most skewed Beta(1, n) keeps less than e⁻²⁰ of its
// mass; 4,001 points put 100 in every standard deviation, so that the trapezoid rule errs by
// less than 1e-6 even on the steep side of a rate never or always hit. More points cost memory
// and time: at 21 overlapping targets every density spans every point.
constexpr double Spread = 20;
constexpr int PointsPerDensity = 4001;
// A plain grid over 0-1 as well, so that no stretch between the peaks goes without points.
constexpr int PlainPoints = 2001;
// Below these a density or a product counts as 0: subnormal numbers are slow and say nothing.
constexpr double LogTiny = -700;
constexpr double Tiny = 1e-300;

double flushed(double value) {
    return value < Tiny ? 0 : value;
}

struct Beta {
    double a;
    double b;
    double logNorm; // −ln B(a, b)

    double logDensity(double x, double logX, double log1mX) const {
        // 0 · ln 0 is 0 here: Beta(1, b) is finite at 0, Beta(a, 1) at 1.
        const double left = a == 1 ? 0 : x > 0 ? (a - 1) * logX : -INFINITY;
        const double right = b == 1 ? 0 : x < 1 ? (b - 1) * log1mX : -INFINITY;
        return logNorm + left + right;
    }
};

// Trapezoid areas between neighbouring points, summed from the left.
void cumulate(std::span<const double> xs, std::span<const double> ys, std::span<double> out) {
    out[0] = 0;
    for (size_t i = 1; i < xs.size(); ++i)
        out[i] = out[i - 1] + (xs[i] - xs[i - 1]) * (ys[i] + ys[i - 1]) / 2;
}

} // namespace

namespace HitRate {

Range wilson(const Tally &tally, double z) {
    if (tally.empty())
        return {};
    const double n = tally.darts;
    const double p = std::clamp(tally.rate(), 0.0, 1.0);
    const double z2 = z * z;
    const double centre = (p + z2 / (2 * n)) / (1 + z2 / n);
    const double half = z / (1 + z2 / n) * std::sqrt(p * (1 - p) / n + z2 / (4 * n * n));
    // Rounding can put a bound a hair beyond the rate at 0 or 1.
    return {std::clamp(centre - half, 0.0, p), std::clamp(centre + half, p, 1.0)};
}

double twoProportionZ(const Tally &first, const Tally &second) {
    if (first.empty() || second.empty())
        return 0;
    const double pooled = (first.hits + second.hits) / (first.darts + second.darts);
    const double variance = pooled * (1 - pooled) * (1 / first.darts + 1 / second.darts);
    return variance > 0 ? (first.rate() - second.rate()) / std::sqrt(variance) : 0;
}

std::vector<double> chanceWorst(std::span<const Tally> tallies) {
    std::vector<double> chances(tallies.size(), 0.0);
    std::vector<size_t> used;
    std::vector<Beta> betas;
    for (size_t i = 0; i < tallies.size(); ++i) {
        if (tallies[i].empty() || !std::isfinite(tallies[i].darts))
            continue;
        const double hits = std::clamp(tallies[i].hits, 0.0, tallies[i].darts);
        const double a = hits + 1, b = tallies[i].darts - hits + 1;
        used.push_back(i);
        betas.push_back({a, b, std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b)});
    }
    if (used.size() == 1)
        chances[used[0]] = 1;
    if (used.size() <= 1)
        return chances;

    // The points: a plain grid and a dense run across each density's own range, so that a
    // peak ten million darts narrow is followed as closely as a wide one.
    const size_t count = betas.size();
    std::vector<std::pair<double, double>> ranges;
    std::vector<double> xs;
    xs.reserve(PlainPoints + count * PointsPerDensity);
    for (int i = 0; i < PlainPoints; ++i)
        xs.push_back(double(i) / (PlainPoints - 1));
    for (const Beta &beta : betas) {
        const double sum = beta.a + beta.b;
        const double mean = beta.a / sum;
        const double sd = std::sqrt(beta.a * beta.b / (sum * sum * (sum + 1)));
        const double from = std::max(0.0, mean - Spread * sd);
        const double to = std::min(1.0, mean + Spread * sd);
        ranges.emplace_back(from, to);
        for (int i = 0; i < PointsPerDensity; ++i)
            xs.push_back(from + (to - from) * i / (PointsPerDensity - 1));
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());

    std::vector<double> logX(xs.size()), log1mX(xs.size());
    for (size_t i = 0; i < xs.size(); ++i) {
        logX[i] = std::log(xs[i]);
        log1mX[i] = std::log1p(-xs[i]);
    }

    // Each density lives on its range of points alone: below it 1 − F is 1, above it 0.
    struct Density {
        size_t first = 0;
        size_t end = 0;
        std::vector<double> density;  // normalised on these very points
        std::vector<double> survival; // 1 − F
    };
    std::vector<Density> densities(count);
    for (size_t t = 0; t < count; ++t) {
        Density &d = densities[t];
        d.first = size_t(std::lower_bound(xs.begin(), xs.end(), ranges[t].first) - xs.begin());
        d.end = size_t(std::upper_bound(xs.begin(), xs.end(), ranges[t].second) - xs.begin());
        const std::span<const double> at(xs.data() + d.first, d.end - d.first);
        d.density.resize(at.size());
        d.survival.resize(at.size());
        for (size_t i = 0; i < at.size(); ++i) {
            // Far out in a tail the density is 0, not a subnormal that slows every product.
            const size_t k = d.first + i;
            const double log = betas[t].logDensity(xs[k], logX[k], log1mX[k]);
            d.density[i] = log < LogTiny ? 0 : std::exp(log);
        }
        cumulate(at, d.density, d.survival);
        const double total = d.survival.back();
        for (size_t i = 0; i < at.size(); ++i) {
            d.density[i] /= total;
            d.survival[i] = std::max(0.0, 1 - d.survival[i] / total);
        }
    }
    // ∫ f_t Π_{j≠t} (1 − F_j) over the range of t; at each point the others' product is the
    // product of the survivals before t times that of those after it.
    std::vector<double> survival(count), before(count + 1), after(count + 1);
    for (size_t i = 0; i < xs.size(); ++i) {
        for (size_t j = 0; j < count; ++j) {
            const Density &d = densities[j];
            survival[j] = i < d.first ? 1 : i < d.end ? d.survival[i - d.first] : 0;
        }
        before[0] = after[count] = 1;
        for (size_t j = 0; j < count; ++j) {
            before[j + 1] = flushed(before[j] * survival[j]);
            after[count - 1 - j] = flushed(after[count - j] * survival[count - 1 - j]);
        }
        // The density becomes the integrand in place.
        for (size_t t = 0; t < count; ++t) {
            Density &d = densities[t];
            if (i >= d.first && i < d.end)
                d.density[i - d.first] = flushed(d.density[i - d.first] * before[t] * after[t + 1]);
        }
    }
    double sum = 0;
    std::vector<double> raw(count), area;
    for (size_t t = 0; t < count; ++t) {
        area.resize(densities[t].density.size());
        cumulate(std::span(xs.data() + densities[t].first, area.size()), densities[t].density,
                 area);
        raw[t] = area.back();
        sum += raw[t];
    }
    // Equal tallies have equal chances; the order of the products must not rank them.
    for (size_t t = 0; t < count; ++t) {
        double same = 0;
        int alike = 0;
        for (size_t j = 0; j < count; ++j) {
            if (betas[j].a == betas[t].a && betas[j].b == betas[t].b) {
                same += raw[j];
                ++alike;
            }
        }
        chances[used[t]] = sum > 0 ? same / alike / sum : 1.0 / double(count);
    }
    return chances;
}

} // namespace HitRate
