#include "chance.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace {

constexpr int drawnCount = 6;
constexpr int candidateShares = 84; // a candidate is 1 or 43 with 1/84 each, another with 2/84

// The chances that 0..5 clocks of a set have rung; what happens past the sixth does not matter.
using Poly = std::array<double, drawnCount>;
constexpr Poly one {1};

Poly times(const Poly &a, const Poly &b)
{
    Poly product {};
    for (int i = 0; i < drawnCount; ++i) {
        for (int j = 0; i + j < drawnCount; ++j)
            product[i + j] += a[i] * b[j];
    }
    return product;
}

// One more clock, which has rung with chance rang and not with chance still.
Poly times(const Poly &poly, double still, double rang)
{
    Poly product {};
    for (int j = 0; j < drawnCount; ++j)
        product[j] = poly[j] * still + (j > 0 ? poly[j - 1] * rang : 0);
    return product;
}

double dot(const Poly &a, const Poly &b)
{
    double sum = 0;
    for (int i = 0; i < drawnCount; ++i)
        sum += a[i] * b[i];
    return sum;
}

// count clocks of one rate.
Poly clocks(int count, double still, double rang)
{
    Poly poly {};
    const int top = std::min(count, drawnCount - 1);
    double power = std::pow(still, count - top);
    for (int j = top; j >= 0; --j) {
        poly[j] = power;
        power *= still;
    }
    double binomial = 1;
    double rangPower = 1;
    for (int j = 0; j <= top; ++j) {
        poly[j] *= binomial * rangPower;
        binomial = binomial * (count - j) / (j + 1);
        rangPower *= rang;
    }
    return poly;
}

// A candidate is 1 or 43 half as often as any other number.
int candidateShare(int number)
{
    return number == 1 || number == NumberCount ? 1 : 2;
}

// Rounding to the nearest whole number of a value spread evenly over [low, low + width): each
// whole number and its chance. Ties have no weight.
std::vector<std::pair<int, double>> roundedSpread(double low, double width)
{
    if (width <= 0)
        return {{static_cast<int>(std::lrint(low)), 1.0}};
    std::vector<std::pair<int, double>> outcomes;
    for (int k = static_cast<int>(std::floor(low)); k <= static_cast<int>(std::ceil(low + width));
         ++k) {
        const double overlap = std::min(k + 0.5, low + width) - std::max(k - 0.5, low);
        if (overlap > 0)
            outcomes.emplace_back(k, overlap / width);
    }
    return outcomes;
}

// One pick ends on a number with chance c (k kept + (1 - k) lastCandidate), c being the chance
// that an attempt proposes it and k its level / 15: either an attempt keeps it, or every attempt
// fails and it is the last candidate. Both factors depend on the levels only through the chance
// accept that one attempt keeps its candidate.
struct PickFactors
{
    double kept = 0;
    double lastCandidate = 0;

    double rate(int share, int level) const
    {
        const double k = level / double(MaximumLevel);
        return share * (k * kept + (1 - k) * lastCandidate) / candidateShares;
    }
};

PickFactors pickFactors(double accept, const DrawInput &input)
{
    // n attempts beyond the first: v..3v+5, the two ends half as likely; none with levels off.
    const int v = input.strength;
    std::vector<std::pair<int, double>> attempts {{0, 1.0}};
    if (input.levelsOn)
        attempts = roundedSpread(v, 2 * v + 5);
    PickFactors factors;
    for (const auto &[n, chance] : attempts) {
        const double allFail = std::pow(1 - accept, n);
        factors.kept += chance * (accept > 0 ? (1 - allFail * (1 - accept)) / accept : 0);
        factors.lastCandidate += chance * allFail;
    }
    return factors;
}

// A birthday number: each level it may end at after its raises, with its chance.
struct Raised
{
    int number;
    std::vector<std::pair<int, double>> levels;
};

Raised raise(int number, int level, int raises, int strength)
{
    std::map<int, double> levels {{level, 1.0}};
    for (int i = 0; i < raises; ++i) {
        std::map<int, double> next;
        for (const auto &[from, chance] : levels) {
            for (const auto &[to, share] : roundedSpread(from + 1, strength / 2.0))
                next[std::min(to, MaximumLevel)] += chance * share;
        }
        levels = std::move(next);
    }
    return {number, {levels.begin(), levels.end()}};
}

constexpr std::size_t maxRaised = 4;

// One combination of the birthday numbers' levels: an index into each one's levels.
struct Outcome
{
    std::array<std::size_t, maxRaised> at {};
    double chance = 1;
};

// The numbers the birthday leaves alone, as classes of one candidate share and one level.
struct Class
{
    int share;
    int level;
    int count;
};

// The part of a clock's integral below the first step: the trapezoidal sum, over the steps
// below, of its density r t e^{-rt} in x = ln t, in closed form. So low there, no five other
// clocks can have rung yet, within t^6 / 720.
double belowSteps(double rate, double first, double h)
{
    double sum = 0;
    double term = rate * first; // (r t)^{n+1} / n!
    for (int n = 0; n < 8; ++n) {
        sum += (n % 2 ? -term : term) / std::expm1((n + 1) * h);
        term *= rate * first / (n + 1);
    }
    return h * sum;
}

// The draw is six exponential clocks ringing first, one per number with the rate of its pick
// chance. A number's chance to be among them is the integral over the time t its clock rings
// of the chance that at most five others rang before. With t = e^x the integrand is smooth and
// falls off doubly exponentially, where the trapezoidal rule converges fastest. Below t = 0.1 it
// is a clock's own density alone, summed in closed form; the steps stop where all but 1e-10 of
// the chance that the six fastest clocks have rung is spent.
//
// The birthday's outcomes of one accept chance share every rate but the birthday numbers' own,
// so the other numbers' clocks are multiplied out once per step for all of them.
class FirstSix
{
public:
    FirstSix(const std::vector<Class> &others, const std::vector<Raised> &raised)
        : m_others(others)
        , m_raised(raised)
        , m_otherChances(others.size(), 0.0)
    {
        for (const Raised &number : raised)
            m_raisedChances.emplace_back(number.levels.size(), 0.0);
    }

    // The outcomes of one accept chance, weighed by their chances.
    void add(const PickFactors &factors, const std::vector<Outcome> &outcomes);

    // Per number of each class, and per birthday number and level.
    const std::vector<double> &otherChances() const { return m_otherChances; }
    const std::vector<std::vector<double>> &raisedChances() const { return m_raisedChances; }

private:
    const std::vector<Class> &m_others;
    const std::vector<Raised> &m_raised;
    std::vector<double> m_otherChances;
    std::vector<std::vector<double>> m_raisedChances;
};

void FirstSix::add(const PickFactors &factors, const std::vector<Outcome> &outcomes)
{
    constexpr double h = 0.3;
    constexpr double first = 0.1;
    constexpr double stillLeft = 1e-10;

    const std::size_t classes = m_others.size();
    const std::size_t raised = m_raised.size();
    std::vector<double> otherRates;
    std::vector<double> slowest; // each clock at its slowest, for the last step
    for (const Class &kind : m_others) {
        otherRates.push_back(factors.rate(kind.share, kind.level));
        slowest.insert(slowest.end(), std::size_t(kind.count), otherRates.back());
    }
    std::vector<std::vector<double>> raisedRates(raised);
    for (std::size_t j = 0; j < raised; ++j) {
        for (const auto &[level, chance] : m_raised[j].levels)
            raisedRates[j].push_back(factors.rate(candidateShare(m_raised[j].number), level));
        slowest.push_back(raisedRates[j].front());
    }
    std::nth_element(
        slowest.begin(), slowest.begin() + drawnCount - 1, slowest.end(), std::greater<> {});
    // The six fastest clocks are all still at t with chance below 6 e^{-rt}.
    const double last = std::log(drawnCount / stillLeft) / slowest[drawnCount - 1];
    const int steps = static_cast<int>(std::ceil(std::log(last / first) / h));

    double groupChance = 0;
    std::vector<std::vector<double>> levelChance(raised);
    for (std::size_t j = 0; j < raised; ++j)
        levelChance[j].assign(raisedRates[j].size(), 0.0);
    for (const Outcome &outcome : outcomes) {
        groupChance += outcome.chance;
        for (std::size_t j = 0; j < raised; ++j)
            levelChance[j][outcome.at[j]] += outcome.chance;
    }
    for (std::size_t k = 0; k < classes; ++k)
        m_otherChances[k] += groupChance * belowSteps(otherRates[k], first, h);
    for (std::size_t j = 0; j < raised; ++j) {
        for (std::size_t l = 0; l < raisedRates[j].size(); ++l)
            m_raisedChances[j][l] += levelChance[j][l] * belowSteps(raisedRates[j][l], first, h);
    }

    std::vector<Poly> own(classes);
    std::vector<Poly> prefix(classes + 1);
    std::vector<Poly> suffix(classes + 1);
    std::vector<std::pair<double, double>> otherClock(classes);
    std::vector<std::vector<std::pair<double, double>>> raisedClock(raised);
    std::vector<std::vector<double>> raisedSum(raised);
    for (int step = 0; step <= steps; ++step) {
        const double t = first * std::exp(step * h);
        const double weight = h * t;

        // Clocks that are still and that have rung by t.
        const auto clock
            = [t](double rate) { return std::pair(std::exp(-rate * t), -std::expm1(-rate * t)); };
        prefix[0] = one;
        for (std::size_t k = 0; k < classes; ++k) {
            otherClock[k] = clock(otherRates[k]);
            const auto &[still, rang] = otherClock[k];
            own[k] = clocks(m_others[k].count - 1, still, rang);
            prefix[k + 1] = times(times(prefix[k], own[k]), still, rang);
        }
        suffix[classes] = one;
        for (std::size_t k = classes; k-- > 0;) {
            const auto &[still, rang] = otherClock[k];
            suffix[k] = times(times(suffix[k + 1], own[k]), still, rang);
        }
        // The chance that at most five clocks have rung when b birthday numbers' have.
        Poly atMost {};
        double running = 0;
        for (int b = 0; b < drawnCount; ++b) {
            running += prefix[classes][b];
            atMost[drawnCount - 1 - b] = running;
        }

        // Over the outcomes: the birthday numbers' clocks together, and for each one, the
        // chance that at most five others have rung.
        for (std::size_t j = 0; j < raised; ++j) {
            raisedClock[j].clear();
            for (const double rate : raisedRates[j])
                raisedClock[j].push_back(clock(rate));
            raisedSum[j].assign(raisedRates[j].size(), 0.0);
        }
        Poly together {};
        for (const Outcome &outcome : outcomes) {
            // The chances that 0..j of the birthday numbers before j have rung: degree j.
            std::array<Poly, maxRaised + 1> before {};
            before[0][0] = 1;
            for (std::size_t j = 0; j < raised; ++j) {
                const auto &[still, rang] = raisedClock[j][outcome.at[j]];
                before[j + 1][0] = before[j][0] * still;
                for (std::size_t b = 1; b <= j + 1; ++b)
                    before[j + 1][b] = before[j][b] * still + before[j][b - 1] * rang;
            }
            // Given that b of them have rung, the chance that at most five clocks but j's have.
            Poly after = atMost;
            for (std::size_t j = raised; j-- > 0;) {
                double atMostFive = 0;
                for (std::size_t b = 0; b <= j; ++b)
                    atMostFive += before[j][b] * after[b];
                raisedSum[j][outcome.at[j]] += outcome.chance * atMostFive;
                const auto &[still, rang] = raisedClock[j][outcome.at[j]];
                for (std::size_t b = 0; b < j; ++b)
                    after[b] = still * after[b] + rang * after[b + 1];
            }
            for (std::size_t b = 0; b <= raised; ++b)
                together[b] += outcome.chance * before[raised][b];
        }

        // together as a functional: at most five rung when a of the others have.
        Poly othersAtMost {};
        running = 0;
        for (int b = 0; b < drawnCount; ++b) {
            running += together[b];
            othersAtMost[drawnCount - 1 - b] = running;
        }
        for (std::size_t k = 0; k < classes; ++k) {
            const Poly others = times(times(prefix[k], suffix[k + 1]), own[k]);
            m_otherChances[k]
                += weight * otherRates[k] * otherClock[k].first * dot(others, othersAtMost);
        }
        for (std::size_t j = 0; j < raised; ++j) {
            for (std::size_t l = 0; l < raisedRates[j].size(); ++l) {
                m_raisedChances[j][l]
                    += weight * raisedRates[j][l] * raisedClock[j][l].first * raisedSum[j][l];
            }
        }
    }
}

} // namespace

std::array<double, NumberCount> DrawChances(const DrawInput &input)
{
    std::array<int, NumberCount + 1> raises {};
    for (const int number : BirthdayBonusNumbers(input)) {
        if (number >= 1 && number <= NumberCount)
            ++raises[number];
    }

    std::vector<Raised> raised;
    std::map<std::pair<int, int>, int> classCounts;
    int acceptShares = 0; // of the numbers the birthday leaves alone, in 84ths of 1/15
    for (int number = 1; number <= NumberCount; ++number) {
        const int share = candidateShare(number);
        const int level = LevelAt(input.levels, number);
        if (raises[number] > 0) {
            raised.push_back(raise(number, level, raises[number], input.strength));
        } else {
            ++classCounts[{share, level}];
            acceptShares += share * level;
        }
    }
    std::vector<Class> others;
    for (const auto &[kind, count] : classCounts)
        others.push_back({kind.first, kind.second, count});

    // Every combination of the birthday numbers' levels, grouped by the accept chance it gives.
    std::map<int, std::vector<Outcome>> groups;
    for (Outcome outcome;;) {
        int shares = acceptShares;
        outcome.chance = 1;
        for (std::size_t j = 0; j < raised.size(); ++j) {
            const auto &[level, chance] = raised[j].levels[outcome.at[j]];
            const int number = raised[j].number;
            shares += candidateShare(number) * level;
            outcome.chance *= chance;
        }
        groups[shares].push_back(outcome);
        std::size_t j = 0;
        while (j < raised.size() && ++outcome.at[j] == raised[j].levels.size())
            outcome.at[j++] = 0;
        if (j == raised.size())
            break;
    }

    FirstSix firstSix(others, raised);
    for (const auto &[shares, outcomes] : groups) {
        firstSix.add(pickFactors(shares / double(candidateShares * MaximumLevel), input), outcomes);
    }

    std::array<double, NumberCount> chances {};
    for (int number = 1; number <= NumberCount; ++number) {
        const int share = candidateShare(number);
        const int level = LevelAt(input.levels, number);
        const auto kind = std::find_if(others.begin(), others.end(),
            [&](const Class &c) { return c.share == share && c.level == level; });
        if (raises[number] == 0)
            chances[number - 1] = firstSix.otherChances()[std::size_t(kind - others.begin())];
    }
    for (std::size_t j = 0; j < raised.size(); ++j) {
        for (const double chance : firstSix.raisedChances()[j])
            chances[raised[j].number - 1] += chance;
    }
    return chances;
}

std::array<double, NumberCount> PickChances(const DrawInput &input, const LevelString &working)
{
    int acceptShares = 0;
    for (int number = 1; number <= NumberCount; ++number)
        acceptShares += candidateShare(number) * LevelAt(working, number);
    const PickFactors factors
        = pickFactors(acceptShares / double(candidateShares * MaximumLevel), input);
    std::array<double, NumberCount> chances {};
    for (int number = 1; number <= NumberCount; ++number)
        chances[std::size_t(number - 1)]
            = factors.rate(candidateShare(number), LevelAt(working, number));
    return chances;
}
