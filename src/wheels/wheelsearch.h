#pragma once

#include "wheel.h"

#include <functional>
#include <optional>

// Searches for a design over positions 0..v-1: with no limit, the fewest tickets that give the
// full guarantee; with a limit, at most that many tickets leaving as few of the C(v, m) cases
// uncovered as it can. A greedy start, then simulated annealing on the number of uncovered
// cases (falling in rounds, or held at one temperature); the same seed gives the same design.
struct WheelSearchRequest
{
    int v = 10;
    Guarantee guarantee;
    std::optional<int> most; // at most this many tickets
    quint32 seed = 0;
    std::vector<Block> start; // a design to improve on, if any
    qint64 steps = 2'000'000; // the annealing's budget, in moves
    int k = Loto6().drawn; // the numbers a ticket holds
    // Held throughout, instead of falling from 1 to 0.05 in every round: a long search from a
    // good design does better at one temperature that lets it wander, a move that uncovers one
    // case more taken about once in 10 tries at 0.45 and once in 150 at 0.2.
    std::optional<double> temperature = std::nullopt;
};

struct WheelSearchProgress
{
    double done = 0; // 0..1
    int tickets = 0; // in the best design so far
    qint64 holes = 0; // of the best design so far
};

// carryOn is asked now and then with the progress; false stops the search, which then returns
// the best design found so far.
std::vector<Block> SearchWheel(const WheelSearchRequest &request,
    const std::function<bool(const WheelSearchProgress &)> &carryOn = {});

// Every combination of k of v positions: the k/k guarantee.
std::vector<Block> EveryCombination(int v, int k);
