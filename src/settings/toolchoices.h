#pragma once

#include "engine/game.h"

#include <QString>

#include <optional>

// What the user last chose in the tool windows, kept in a file of their own beside the settings
// file, which holds only its own keys. A missing or damaged file, or an empty path, gives the
// defaults; with an empty path nothing is written.

// The past results window's statistics: the period (its index in the window's list, -1 for the
// window's default), a chosen range's first and last draw, and whether the chart's count axis
// starts at 0.
struct StatisticsChoice
{
    int period = -1;
    int from = 0;
    int to = 0;
    bool axisFromZero = false;
};

StatisticsChoice ReadStatisticsChoice(const QString &path);
void WriteStatisticsChoice(const QString &path, const StatisticsChoice &choice);

// The game the tool windows open on, the one last chosen in any of them: kept in the settings
// file, as the key Game of a section [Tools] of its own, written only when a game is chosen.
// The 6-of-43 game when none or an unknown one is kept.
const Game &ReadToolGame();
bool WriteToolGame(const Game &game);

// Whether the official results are checked when the program starts: the key CheckAtStart of
// [Tools], 1 or 0, written when the user answers the question of the first fetch or changes it;
// none until then.
std::optional<bool> ReadCheckAtStart();
bool WriteCheckAtStart(bool check);
