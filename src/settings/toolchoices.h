#pragma once

#include <QString>

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
