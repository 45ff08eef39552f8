#pragma once

#include "profile.h"

#include <array>
#include <bitset>
#include <span>
#include <vector>

class UniformSource;

// The weighted draw of six distinct numbers from 1 to 43. Each pick makes up to n + 1 attempts,
// where n grows with the draw strength; an attempt proposes a candidate and accepts it with a
// probability of its level / 15, and a pick whose attempts all fail keeps its last candidate.
// With the levels switched off a pick is a single unweighted candidate.
struct DrawInput
{
    LevelString levels;
    BirthdaySetting birthday;
    bool levelsOn = true;
    int strength = 0; // 0..15

    friend bool operator==(const DrawInput &, const DrawInput &) = default;
};

// Six two-digit numbers and five blanks; no other text the display shows has this length.
inline constexpr qsizetype DrawResultLength = 17;

struct DrawResult
{
    std::array<int, 6> numbers {}; // ascending
    QString text; // two digits each, separated by single blanks: always 17 characters
};

// The levels with the birthday bonus added. It applies only while the levels are on and the
// flag's numeric value is odd; the month, the day, their 8-bit sum and the sum of the four
// digits each raise their number's level by round(1 + strength * r / 2), at most to 15.
LevelString WithBirthdayBonus(const DrawInput &input, UniformSource &random);

// The numbers the birthday bonus raises, in order: the month, the day, their 8-bit sum and the
// 8-bit sum of the four digits, 0 for one that is skipped; none when no bonus applies.
std::vector<int> BirthdayBonusNumbers(const DrawInput &input);

// A set of the numbers 1..43, by number; place 0 is unused.
using NumberSet = std::bitset<NumberCount + 1>;

// One pick of the draw with the levels as the birthday left them: a candidate accepted by its
// level, the whole pick made again while it lands on a number of taken. taken leaves at least
// one of 1..43 open.
int PickNumber(const DrawInput &input, const LevelString &working, UniformSource &random,
    const NumberSet &taken);

// The draw's six numbers in ascending order, starting from the fixed numbers: a pick that lands
// on a fixed, an excluded or an already drawn number is made again. The caller leaves at least 6
// numbers that are not excluded, and at most 6 fixed ones; with neither, this is the plain draw,
// pick for pick.
std::array<int, 6> DrawSix(const DrawInput &input, UniformSource &random,
    const NumberSet &fixed = {}, const NumberSet &excluded = {});

// "03 11 19 27 38 42": numbers as the display shows them.
QString DrawText(std::span<const int> numbers);

// The plain draw, with the text the display shows.
DrawResult DrawNumbers(const DrawInput &input, UniformSource &random);
