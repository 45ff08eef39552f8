#pragma once

#include "wheel.h"

#include <bit>

// The bits set, by halves, quarters and so on. std::popcount calls a library routine where the
// processor's own instruction may not be assumed, and the annealing counts the shared bits of
// every ticket at each move.
constexpr int BitCount(Block set)
{
    set -= (set >> 1) & 0x5555'5555u;
    set = (set & 0x3333'3333u) + ((set >> 2) & 0x3333'3333u);
    return int((((set + (set >> 4)) & 0x0F0F'0F0Fu) * 0x0101'0101u) >> 24);
}

// Every mask of n bits with k set, in increasing order (Gosper's hack).
template<typename Visit>
void ForEachSubset(int n, int k, Visit visit)
{
    if (k < 0 || k > n)
        return;
    if (k == 0) {
        visit(Block(0));
        return;
    }
    const Block end = Block(1) << n;
    for (Block mask = (Block(1) << k) - 1; mask < end;) {
        visit(mask);
        const Block lowest = mask & -mask;
        const Block ripple = mask + lowest;
        mask = (((ripple ^ mask) >> 2) / lowest) | ripple;
    }
}

// Every subset of k of the bits set in set.
template<typename Visit>
void ForEachSubsetOf(Block set, int k, Visit visit)
{
    // The annealing asks for the empty subset at every move of a t/t guarantee.
    if (k == 0) {
        visit(Block(0));
        return;
    }
    std::array<int, 32> elements {};
    int n = 0;
    for (Block rest = set; rest; rest &= rest - 1)
        elements[std::size_t(n++)] = std::countr_zero(rest);
    ForEachSubset(n, k, [&](Block packed) {
        Block mask = 0;
        for (; packed; packed &= packed - 1)
            mask |= Block(1) << elements[std::size_t(std::countr_zero(packed))];
        visit(mask);
    });
}
