#include "chance.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace {

constexpr int drawnCount = 6;

using Levels = std::array<int, NumberCount + 1>; // index 0 unused

// Rounding to the nearest whole number of a value spread evenly over [low, low + width): each
// whole number and its chance. Ties have no weight.
std::map<int, double> roundedSpread(double low, double width)
{
    if (width <= 0)
        return {{static_cast<int>(std::lrint(low)), 1.0}};
    std::map<int, double> outcomes;
    for (int k = static_cast<int>(std::floor(low)); k <= static_cast<int>(std::ceil(low + width));
         ++k) {
        const double overlap = std::min(k + 0.5, low + width) - std::max(k - 0.5, low);
        if (overlap > 0)
            outcomes[k] += overlap / width;
    }
    return outcomes;
}

// The working levels after the birthday bonus, each with its chance.
std::map<Levels, double> bonusOutcomes(const DrawInput &input)
{
    Levels start {};
    for (int number = 1; number <= NumberCount; ++number)
        start[number] = LevelAt(input.levels, number);
    std::map<Levels, double> outcomes {{start, 1.0}};
    for (const int number : BirthdayBonusNumbers(input)) {
        if (number == 0 || number > NumberCount)
            continue;
        std::map<Levels, double> next;
        for (const auto &[levels, chance] : outcomes) {
            for (const auto &[raised, share] :
                roundedSpread(levels[number] + 1, input.strength / 2.0)) {
                Levels changed = levels;
                changed[number] = std::min(raised, MaximumLevel);
                next[changed] += chance * share;
            }
        }
        outcomes = std::move(next);
    }
    return outcomes;
}

// The chance that one pick ends on each number.
std::array<double, NumberCount + 1> pickChances(const Levels &levels, const DrawInput &input)
{
    std::array<double, NumberCount + 1> candidate {};
    std::array<double, NumberCount + 1> keep {};
    double accept = 0;
    for (int number = 1; number <= NumberCount; ++number) {
        candidate[number] = number == 1 || number == NumberCount ? 1.0 / 84 : 1.0 / 42;
        keep[number] = levels[number] / 15.0;
        accept += candidate[number] * keep[number];
    }
    // n attempts beyond the first: v..3v+5, the two ends half as likely; none with levels off.
    const int v = input.strength;
    std::map<int, double> attempts {{0, 1.0}};
    if (input.levelsOn)
        attempts = roundedSpread(v, 2 * v + 5);

    std::array<double, NumberCount + 1> pick {};
    for (const auto &[n, chance] : attempts) {
        const double allFail = std::pow(1 - accept, n);
        const double kept = accept > 0 ? (1 - allFail * (1 - accept)) / accept : 0;
        for (int number = 1; number <= NumberCount; ++number) {
            pick[number] += chance * candidate[number]
                * (keep[number] * kept + allFail * (1 - keep[number]));
        }
    }
    return pick;
}

// The chance of each number to be among the first six clocks to ring, for clocks of these
// rates. Numbers of one rate form a class; for a number of class k, integrate over the time t
// its clock rings the chance that at most five other clocks rang before, with t = e^x.
std::array<double, NumberCount + 1> firstSix(const std::array<double, NumberCount + 1> &rates)
{
    std::map<double, int> classes;
    for (int number = 1; number <= NumberCount; ++number)
        ++classes[rates[number]];
    std::vector<std::pair<double, int>> kinds(classes.begin(), classes.end());

    constexpr double low = -25;
    constexpr double high = 16;
    constexpr int steps = 160; // even, for Simpson's rule
    constexpr double h = (high - low) / steps;
    std::vector<double> inclusion(kinds.size(), 0.0);
    using Poly = std::array<double, drawnCount>; // chances of 0..5 clocks rung
    for (int step = 0; step <= steps; ++step) {
        const double t = std::exp(low + step * h);
        const double weight = (step == 0 || step == steps ? 1 : step % 2 ? 4 : 2) * h / 3 * t;
        // The chances for the clocks of each class, then without one clock of class k.
        std::vector<Poly> prefix(kinds.size() + 1, Poly {1});
        std::vector<Poly> suffix(kinds.size() + 1, Poly {1});
        auto times = [](Poly poly, double rang, int count) {
            for (int c = 0; c < count; ++c) {
                for (int j = drawnCount - 1; j >= 0; --j)
                    poly[j] = poly[j] * (1 - rang) + (j > 0 ? poly[j - 1] * rang : 0);
            }
            return poly;
        };
        for (std::size_t k = 0; k < kinds.size(); ++k) {
            const double rang = 1 - std::exp(-kinds[k].first * t);
            prefix[k + 1] = times(prefix[k], rang, kinds[k].second);
        }
        for (std::size_t k = kinds.size(); k-- > 0;) {
            const double rang = 1 - std::exp(-kinds[k].first * t);
            suffix[k] = times(suffix[k + 1], rang, kinds[k].second);
        }
        for (std::size_t k = 0; k < kinds.size(); ++k) {
            const auto &[rate, count] = kinds[k];
            const Poly own = times(Poly {1}, 1 - std::exp(-rate * t), count - 1);
            double atMostFive = 0;
            for (int a = 0; a < drawnCount; ++a) {
                for (int b = 0; a + b < drawnCount; ++b) {
                    for (int c = 0; a + b + c < drawnCount; ++c)
                        atMostFive += prefix[k][a] * suffix[k + 1][b] * own[c];
                }
            }
            inclusion[k] += weight * rate * std::exp(-rate * t) * atMostFive;
        }
    }
    std::array<double, NumberCount + 1> chances {};
    for (int number = 1; number <= NumberCount; ++number) {
        const auto at = std::find_if(kinds.begin(), kinds.end(),
            [&](const auto &kind) { return kind.first == rates[number]; });
        chances[number] = inclusion[std::size_t(at - kinds.begin())];
    }
    return chances;
}

} // namespace

std::array<double, NumberCount> DrawChances(const DrawInput &input)
{
    std::array<double, NumberCount> chances {};
    for (const auto &[levels, weight] : bonusOutcomes(input)) {
        const auto included = firstSix(pickChances(levels, input));
        for (int number = 1; number <= NumberCount; ++number)
            chances[number - 1] += weight * included[number];
    }
    return chances;
}
