#pragma once

#include "wheel.h"
#include "wheelsearch.h"

#include <QStringList>

// A wheel over the numbers a player chose: a design put onto them in a random order, checked
// whole, with the chance of each number of hits among them and the best match in that case.
struct Wheel
{
    const Game *game = &Loto6();
    Guarantee guarantee;
    std::vector<int> order; // the chosen number at each position
    std::vector<Block> blocks;
    std::vector<Ticket> tickets; // ascending
    Coverage coverage;
    std::vector<MatchRow> rows; // k = 0..drawn
};

// The steps a search under a limit takes: the same seed gives the same wheel.
inline constexpr qint64 LimitedSearchSteps = 1'000'000;

// The numbers chosen for a wheel, read from what was typed: ascending, or why they make none (a
// list that cannot be read, or fewer than FewestChosen or more than MostChosen numbers). The
// note tells the numbers typed twice, after what the asker calls the list.
struct ChosenNumbers
{
    std::vector<int> numbers;
    QString refusal;
    QString note;
};
ChosenNumbers ReadChosen(const Game &game, const QString &text, const QString &what);

// The design for v chosen numbers: the shipped one, or with a limit below its size the best that
// a search from it finds within the limit.
std::vector<Block> DesignFor(const Game &game, int v, Guarantee guarantee, std::optional<int> most,
    quint32 seed, const std::function<bool(const WheelSearchProgress &)> &carryOn = {});

// The design put onto the chosen numbers in the order the seed gives.
Wheel MakeWheel(const Game &game, const std::vector<int> &chosen, Guarantee guarantee,
    std::vector<Block> blocks, quint32 seed);

QString CostText(const Wheel &wheel); // "4 口、800 円"
// "保証を確認しました（全 210 通り）", or the share of cases covered with the holes and one.
QString CoverageText(const Wheel &wheel);
// The expected winning tickets in a draw, the same as for as many random tickets.
QString ExpectedWinsText(const Wheel &wheel);
// A row for each k: k, its chance in a draw, the least and the average best match, the grade
// the least gives.
std::vector<QStringList> ChanceTable(const Wheel &wheel);
QStringList ChanceHeaders();
