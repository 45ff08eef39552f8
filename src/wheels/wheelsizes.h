#pragma once

#include "wheel.h"

#include <map>
#include <optional>

// How good each shipped wheel is: its size beside the smallest published design (for t = m) and
// the lower bound, as the help page and the README show it. Needs no display.

// The records, by game key, v, t and m.
using WheelRecords = std::map<std::tuple<QString, int, int, int>, int>;

// Lines of a game key, v, t, m and the tickets; # begins a comment.
WheelRecords ReadWheelRecords(const QString &text);

struct WheelSize
{
    int v = 0;
    Guarantee guarantee;
    int shipped = 0;
    std::optional<int> record;
    qint64 bound = 0;
    bool smallest = false; // proven: by the bound, or by an exhaustive search
};

// The steps the tables' proofs may take, each.
inline constexpr qint64 ProofSteps = 200'000;

// Every cell of the game short of drawn/drawn, v ascending and then the guarantees in order.
// The exhaustive search is tried over at most 5,005 tickets and proofSteps steps.
std::vector<WheelSize> WheelSizes(const Game &game, const WheelRecords &records, qint64 proofSteps);

// The sizes as a table a row for each v, a column for each guarantee, "shipped / record / bound"
// in each cell ("—" for no record) and the shipped size in bold where it is proven smallest.
QString WheelSizesMarkdown(const std::vector<WheelSize> &sizes);
QString WheelSizesHtml(const std::vector<WheelSize> &sizes);
