#include "wheelmaker.h"

#include "engine/figures.h"
#include "wheeltable.h"

#include <algorithm>
#include <random>

using namespace Qt::StringLiterals;

namespace {

QString WheelRefusal(const Game &game, const NumberList &chosen)
{
    if (!chosen.fault.isEmpty())
        return u"選んだ数字の"_s + chosen.fault;
    const auto count = qsizetype(chosen.numbers.size());
    if (count < FewestChosen(game) || count > MostChosen)
        return u"選ぶ数字は %1 個から %2 個までです（いまは %3 個）。"_s.arg(FewestChosen(game))
            .arg(MostChosen)
            .arg(count);
    return {};
}

} // namespace

ChosenNumbers ReadChosen(const Game &game, const QString &text, const QString &what)
{
    const NumberList list = ParseNumberList(game, text);
    ChosenNumbers chosen {list.numbers, WheelRefusal(game, list), RepeatedNote(what, list)};
    std::sort(chosen.numbers.begin(), chosen.numbers.end());
    return chosen;
}

std::vector<Block> DesignFor(const Game &game, int v, Guarantee guarantee, std::optional<int> most,
    quint32 seed, const std::function<bool(const WheelSearchProgress &)> &carryOn)
{
    std::vector<Block> shipped = ShippedWheel(game, v, guarantee);
    if (!most || qsizetype(shipped.size()) <= *most)
        return shipped;
    return SearchWheel(
        {v, guarantee, most, seed, std::move(shipped), LimitedSearchSteps, game.drawn}, carryOn);
}

Wheel MakeWheel(const Game &game, const std::vector<int> &chosen, Guarantee guarantee,
    std::vector<Block> blocks, quint32 seed)
{
    Wheel wheel;
    wheel.game = &game;
    wheel.guarantee = guarantee;
    wheel.order = chosen;
    std::shuffle(wheel.order.begin(), wheel.order.end(), std::mt19937(seed));
    wheel.blocks = std::move(blocks);
    wheel.tickets = TicketsOf(wheel.blocks, wheel.order);
    const WheelMatches matches(int(chosen.size()), game.drawn, wheel.blocks);
    wheel.coverage = matches.coverage(guarantee);
    wheel.rows = matches.rows(game);
    return wheel;
}

QString CostText(const Wheel &wheel)
{
    const auto count = qint64(wheel.tickets.size());
    return u"%1 口、%2"_s.arg(Grouped(count), Yen(count * wheel.game->price));
}

QString CoverageText(const Wheel &wheel)
{
    const Coverage &coverage = wheel.coverage;
    if (coverage.holes == 0)
        return u"保証を確認しました（全 %1 通り）"_s.arg(Grouped(coverage.cases));
    QStringList hole;
    for (const int number : NumbersOf(coverage.exampleHole, wheel.order))
        hole << u"%1"_s.arg(number, 2, 10, QChar(u'0'));
    return u"保証を満たす割合 %1%（全 %2 通りのうち %3 通りが欠けています。例：%4）"_s.arg(
        ThreeFigures(coverage.percent()), Grouped(coverage.cases), Grouped(coverage.holes),
        hole.join(u' '));
}

QString ExpectedWinsText(const Wheel &wheel)
{
    return u"1 回の抽せんで当せんする券の数の期待値は %1 口です。同じ口数の無作為な券と同じで、"
           u"ホイールは当たる確率を変えず、当たりの分かれ方だけを変えます。"_s.arg(
               ThreeFigures(double(wheel.tickets.size()) * wheel.game->winningChance()));
}

QStringList ChanceHeaders()
{
    return {u"選んだ数字のうち当たる数"_s, u"確率"_s, u"最少の一致"_s, u"平均の一致"_s,
        u"最少の一致の等級"_s};
}

std::vector<QStringList> ChanceTable(const Wheel &wheel)
{
    std::vector<QStringList> rows;
    for (const MatchRow &row : wheel.rows) {
        rows.push_back({u"%1 個"_s.arg(row.k), ThreeFigures(100 * row.chance) + u'%',
            QString::number(row.smallest), OneDecimal(row.average),
            GradeText(wheel.game->leastGradeOf(row.smallest))});
    }
    return rows;
}
