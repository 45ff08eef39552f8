#include "statistics.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double drawnShare = 6.0 / NumberCount;

} // namespace

double PeriodStatistics::expected() const
{
    return draws * drawnShare;
}

double PeriodStatistics::band() const
{
    return 2 * std::sqrt(draws * drawnShare * (1 - drawnShare));
}

PeriodStatistics StatisticsOf(const std::vector<PastDraw> &draws, int last)
{
    PeriodStatistics period;
    const std::size_t first
        = last > 0 && std::size_t(last) < draws.size() ? draws.size() - std::size_t(last) : 0;
    period.draws = int(draws.size() - first);
    for (std::size_t i = first; i < draws.size(); ++i) {
        const int ago = int(draws.size() - 1 - i);
        for (const int number : draws[i].numbers) {
            NumberStatistics &figures = period.numbers[std::size_t(number - 1)];
            ++figures.drawn;
            figures.sinceLast = ago;
        }
        if (draws[i].bonus >= 1 && draws[i].bonus <= NumberCount)
            ++period.numbers[std::size_t(draws[i].bonus - 1)].asBonus;
    }
    return period;
}

std::optional<LevelString> LevelsFromHistory(const PeriodStatistics &period, LevelRule rule)
{
    if (period.draws == 0)
        return std::nullopt;
    const auto [least, most] = std::minmax_element(period.numbers.begin(), period.numbers.end(),
        [](const NumberStatistics &a, const NumberStatistics &b) { return a.drawn < b.drawn; });
    const int m = least->drawn;
    const int spread = most->drawn - m;
    LevelString levels;
    for (const NumberStatistics &figures : period.numbers) {
        const int above
            = rule == LevelRule::OftenDrawnHigher ? figures.drawn - m : most->drawn - figures.drawn;
        levels += LevelDigit(spread == 0 ? 8 : 1 + int(std::floor(14.0 * above / spread + 0.5)));
    }
    return levels;
}
