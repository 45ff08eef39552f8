#pragma once

#include "engine/profile.h"
#include "pastresults.h"

#include <optional>
#include <vector>

// What the past draws of a period show of each number. Every draw is independent: each number
// has the same chance (6/43 in the 6-of-43 game) in every draw, whatever came before, and these
// figures describe the past only. Periods and the time since a number was last drawn count in draw
// numbers, so a draw missing from the database is never skipped over as if it had not been held.
struct NumberStatistics
{
    int drawn = 0; // times among the drawn numbers
    int sinceLast = -1; // draws since it was last drawn; -1 when it never was
    int asBonus = 0; // times drawn as the bonus
};

struct PeriodStatistics
{
    DrawRange range;
    QDate firstDate; // of the first and the last stored draw in the range
    QDate lastDate;
    int draws = 0; // stored in the range
    double share = 0; // of the numbers drawn each time: 6/43
    std::vector<NumberStatistics> numbers; // by number, from 1

    // The count chance alone gives on average, draws × share, its standard deviation
    // (binomial, p = share), and a band of two of them around it, where most counts lie by
    // chance alone.
    double expected() const;
    double deviation() const;
    double band() const;
    // How many numbers were drawn more or less often than the band allows.
    int outsideBand() const;
};

// The last `count` draw numbers up to the latest stored draw, or every stored draw when count
// is 0; clamped to the stored ones.
DrawRange LastDraws(const std::vector<PastDraw> &draws, int count);
// The game's stored draws numbered first to last (draws in the order of their numbers).
PeriodStatistics StatisticsOf(
    const Game &game, const std::vector<PastDraw> &draws, DrawRange range);

// The numbers missing between stored draws, as ranges.
std::vector<DrawRange> MissingDraws(const std::vector<PastDraw> &draws);
// The missing ranges that meet range, cut to it.
std::vector<DrawRange> MissingWithin(const std::vector<DrawRange> &missing, DrawRange range);
// "第2098回〜第2109回がありません", several ranges joined by 、; empty when none is missing.
QString MissingText(const std::vector<DrawRange> &missing);

enum class LevelRule {
    WithinChance, // 偶然の幅を考えて
    OftenDrawnHigher, // よく出た数字ほど高く
    SeldomDrawnHigher, // 出ていない数字ほど高く
};

// Levels 1 to 15 from the times drawn. The first rule moves a level only for the part of a
// difference beyond the band: with z = (c − expected) / σ, 8 + sign(z) ⌊7 max(0, |z| − 2) / 2 +
// 0.5⌋, so every count inside the band gets 8. The other two stretch the counts to 1..15:
// with c a number's count and m and M the least and the most, 1 + ⌊14 (c − m) / (M − m) + 0.5⌋,
// or with M − c for the third rule; 8 each when all counts agree. No level is 0, which excludes
// a number and is the user's own choice. Nothing without a draw.
std::optional<LevelString> LevelsFromHistory(const PeriodStatistics &period, LevelRule rule);
