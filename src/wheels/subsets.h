#pragma once

#include "wheel.h"

#include <bit>

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
