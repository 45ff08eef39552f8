#pragma once

#include "draw.h"

#include <array>

// The chance of each number 1..43 to be among the six of one draw, for that draw's levels,
// birthday, level switch and strength; the 43 figures add up to 6.
//
// Computed exactly, up to the numerical integration below. One pick makes n + 1 attempts, n
// from the strength; an attempt proposes a number (1 and 43 half as often as the others) and
// keeps it with the chance of its level / 15, and a pick whose attempts all fail keeps its last
// candidate. So one pick ends on each number with a fixed chance q, and a pick that repeats a
// drawn number is made again: six numbers are drawn one by one in proportion to q, which is the
// same as six independent exponential clocks of rates q ringing first. The birthday bonus is
// random too: each of its outcomes is weighed by its chance. Each figure is within a few
// millionths of the exact value. Without a birthday this takes well under a millisecond; a
// birthday at a high strength has thousands of outcomes and takes most of a second, so callers
// in a window run it off the user-interface thread.
std::array<double, NumberCount> DrawChances(const DrawInput &input);
