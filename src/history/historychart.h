#pragma once

#include "chartgeometry.h"
#include "statistics.h"

#include <QWidget>

// The times each number was drawn in a period as bars on a count axis, a dashed line at the
// count chance alone gives and a band of two standard deviations around it, each labelled; a
// bar's tooltip gives its figures. Screen readers hear a summary and every number's count, the
// figures of the table beside it, as the description.
class HistoryChart : public QWidget
{
public:
    explicit HistoryChart(QWidget *parent);

    // span names the period, as the description says it.
    void show(const PeriodStatistics &period, const QString &span);
    void setAxisFromZero(bool fromZero); // the count axis always starts at 0

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int leftMargin() const;
    int bottomMargin() const;

    ChartGeometry layout() const;

    PeriodStatistics m_period;
    bool m_fromZero = false;
};
