#pragma once

#include "statistics.h"

#include <QRectF>
#include <QString>

#include <vector>

// Where the chart of a period's counts puts everything, for a widget of a given size: the
// count axis and its ticks, a bar for each number, the expected count's line and the band
// around it. Unless asked to start at 0, the axis starts at 0 only when that leaves the band's
// height plainly visible; otherwise it starts just below the lowest count or band edge, so that
// one standard deviation is a visible step rather than a hair.
struct ChartGeometry
{
    QRectF plot; // the bars' area; the labels go outside it
    double low = 0; // the counts at the plot's bottom and top
    double high = 1;
    std::vector<double> ticks; // counts with a line and a label on the axis
    std::vector<QRectF> bars; // by number, from 1
    std::vector<bool> outside; // the count lies outside the band
    std::vector<bool> labelled; // by number, from 1: a label under the bar
    double expectedY = 0;
    QRectF band;

    double yOf(double count) const;
};

// The margins are for the axis labels: left for the counts, bottom for the numbers.
ChartGeometry ChartLayout(const PeriodStatistics &period, QSizeF size, double leftMargin,
    double bottomMargin, bool fromZero = false);

// "12：30 回（期待値 29.3）、偶然の幅の中"
QString BarTip(const PeriodStatistics &period, int number);
