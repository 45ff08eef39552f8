#include "statistics.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

double PeriodStatistics::expected() const
{
    return draws * share;
}

double PeriodStatistics::deviation() const
{
    return std::sqrt(draws * share * (1 - share));
}

double PeriodStatistics::band() const
{
    return 2 * deviation();
}

int PeriodStatistics::outsideBand() const
{
    return int(std::count_if(numbers.begin(), numbers.end(), [this](const NumberStatistics &each) {
        return std::abs(each.drawn - expected()) > band();
    }));
}

DrawRange LastDraws(const std::vector<PastDraw> &draws, int count)
{
    if (draws.empty())
        return {};
    const int latest = draws.back().number;
    return {count > 0 ? std::max(draws.front().number, latest - count + 1) : draws.front().number,
        latest};
}

PeriodStatistics StatisticsOf(const Game &game, const std::vector<PastDraw> &draws, DrawRange range)
{
    PeriodStatistics period;
    period.range = range;
    period.share = double(game.drawn) / game.numbers;
    period.numbers.resize(std::size_t(game.numbers));
    const auto from = std::lower_bound(draws.begin(), draws.end(), range.first,
        [](const PastDraw &draw, int number) { return draw.number < number; });
    for (auto draw = from; draw != draws.end() && draw->number <= range.last; ++draw) {
        if (period.draws++ == 0)
            period.firstDate = draw->date;
        period.lastDate = draw->date;
        for (const int number : draw->numbers) {
            NumberStatistics &figures = period.numbers[std::size_t(number - 1)];
            ++figures.drawn;
            figures.sinceLast = range.last - draw->number;
        }
        for (const int bonus : draw->bonuses) {
            if (bonus >= 1 && bonus <= game.numbers)
                ++period.numbers[std::size_t(bonus - 1)].asBonus;
        }
    }
    return period;
}

std::vector<DrawRange> MissingDraws(const std::vector<PastDraw> &draws)
{
    std::vector<DrawRange> missing;
    for (std::size_t i = 1; i < draws.size(); ++i) {
        if (draws[i].number > draws[i - 1].number + 1)
            missing.push_back({draws[i - 1].number + 1, draws[i].number - 1});
    }
    return missing;
}

std::vector<DrawRange> MissingWithin(const std::vector<DrawRange> &missing, DrawRange range)
{
    std::vector<DrawRange> within;
    for (const DrawRange &gap : missing) {
        if (gap.last >= range.first && gap.first <= range.last)
            within.push_back({std::max(gap.first, range.first), std::min(gap.last, range.last)});
    }
    return within;
}

QString MissingText(const std::vector<DrawRange> &missing)
{
    constexpr std::size_t named = 5;
    if (missing.empty())
        return {};
    QStringList ranges;
    for (std::size_t i = 0; i < std::min(named, missing.size()); ++i) {
        const DrawRange &range = missing[i];
        ranges << (range.first == range.last
                ? u"第%1回"_s.arg(range.first)
                : u"第%1回〜第%2回"_s.arg(range.first).arg(range.last));
    }
    const QString more
        = missing.size() > named ? u"ほか %1 か所"_s.arg(missing.size() - named) : QString();
    return ranges.join(u'、') + (more.isEmpty() ? QString() : u"、"_s + more) + u"がありません"_s;
}

std::optional<LevelString> LevelsFromHistory(const PeriodStatistics &period, LevelRule rule)
{
    if (period.draws == 0)
        return std::nullopt;
    LevelString levels;
    if (rule == LevelRule::WithinChance) {
        const double sigma = period.deviation();
        for (const NumberStatistics &figures : period.numbers) {
            const double z = (figures.drawn - period.expected()) / sigma;
            const int step = int(std::floor(7 * std::max(0.0, std::abs(z) - 2) / 2 + 0.5));
            levels += LevelDigit(std::clamp(MiddleLevel + (z < 0 ? -step : step), 1, MaximumLevel));
        }
        return levels;
    }
    const auto [least, most] = std::minmax_element(period.numbers.begin(), period.numbers.end(),
        [](const NumberStatistics &a, const NumberStatistics &b) { return a.drawn < b.drawn; });
    const int m = least->drawn;
    const int spread = most->drawn - m;
    for (const NumberStatistics &figures : period.numbers) {
        const int above
            = rule == LevelRule::OftenDrawnHigher ? figures.drawn - m : most->drawn - figures.drawn;
        levels += LevelDigit(
            spread == 0 ? MiddleLevel : 1 + int(std::floor(14.0 * above / spread + 0.5)));
    }
    return levels;
}
