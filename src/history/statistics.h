#pragma once

#include "engine/profile.h"
#include "pastresults.h"

#include <array>
#include <optional>
#include <vector>

// What the past draws of a period show of each number. Every draw is independent: each number
// has the same 6/43 chance in every draw, whatever came before, and these figures describe the
// past only.
struct NumberStatistics
{
    int drawn = 0; // times among the six
    int sinceLast = -1; // draws since it was last among the six; -1 when it never was
    int asBonus = 0; // times drawn as the bonus
};

struct PeriodStatistics
{
    int draws = 0;
    std::array<NumberStatistics, NumberCount> numbers {};

    // The count chance alone gives on average, draws × 6/43, and two standard deviations of it
    // (binomial, p = 6/43): most counts lie within that band by chance alone.
    double expected() const;
    double band() const;
};

// The last `last` draws in the order of their numbers, or all of them when last is 0.
PeriodStatistics StatisticsOf(const std::vector<PastDraw> &draws, int last);

enum class LevelRule {
    OftenDrawnHigher, // よく出た数字ほど高く
    SeldomDrawnHigher, // 出ていない数字ほど高く
};

// Levels 1 to 15 from the times drawn: with c a number's count and m and M the least and the
// most, 1 + ⌊14 (c − m) / (M − m) + 0.5⌋, or with M − c for the second rule; 8 each when all
// counts agree. No level is 0, which excludes a number and is the user's own choice. Nothing
// without a draw.
std::optional<LevelString> LevelsFromHistory(const PeriodStatistics &period, LevelRule rule);
