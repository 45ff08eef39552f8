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
// random too: each of its outcomes is weighed by its chance, and the outcomes that give one
// attempt the same chance to keep its candidate share all but the birthday numbers' rates. The
// figures add up to 6 within about 1e-8 and each is within a few billionths of the exact value.
// Any input takes well under 20 ms; the benchmark prints the slowest it knows.
std::array<double, NumberCount> DrawChances(const DrawInput &input);

// The chance that one pick of the draw ends on each number 1..43, for the levels as the
// birthday left them (WithBirthdayBonus): the odds a pick keeps among the numbers it may take.
std::array<double, NumberCount> PickChances(const DrawInput &input, const LevelString &working);
