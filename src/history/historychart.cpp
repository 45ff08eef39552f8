#include "historychart.h"

#include "engine/figures.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

using namespace Qt::StringLiterals;

HistoryChart::HistoryChart(QWidget *parent)
    : QWidget(parent)
{
    setMinimumHeight(180);
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(u"出た回数のグラフ"_s);
}

int HistoryChart::leftMargin() const
{
    return fontMetrics().horizontalAdvance(u"00000"_s) + 6;
}

int HistoryChart::bottomMargin() const
{
    return fontMetrics().height() + 4;
}

ChartGeometry HistoryChart::layout() const
{
    return ChartLayout(m_period, size(), leftMargin(), bottomMargin(), m_fromZero);
}

void HistoryChart::setAxisFromZero(bool fromZero)
{
    m_fromZero = fromZero;
    update();
}

void HistoryChart::show(const PeriodStatistics &period, const QString &span)
{
    m_period = period;
    int most = 0;
    int least = 0;
    QStringList counts;
    for (int i = 0; i < int(period.numbers.size()); ++i) {
        const int drawn = period.numbers[std::size_t(i)].drawn;
        counts << u"。%1：%2 回"_s.arg(i + 1).arg(drawn);
        most = drawn > period.numbers[std::size_t(most)].drawn ? i : most;
        least = drawn < period.numbers[std::size_t(least)].drawn ? i : least;
    }
    setAccessibleDescription(period.draws == 0
            ? u"当せん番号がありません"_s
            : u"%1：最も多い %2（%3 回）、最も少ない %4（%5 回）、期待値 %6、偶然の幅の外 %7 個"_s
                    .arg(span)
                    .arg(most + 1)
                    .arg(period.numbers[std::size_t(most)].drawn)
                    .arg(least + 1)
                    .arg(period.numbers[std::size_t(least)].drawn)
                    .arg(OneDecimal(period.expected()))
                    .arg(period.outsideBand())
                + counts.join(u""_s));
    update();
}

bool HistoryChart::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const ChartGeometry chart = layout();
    const double x = help->pos().x() - chart.plot.left();
    const auto count = int(m_period.numbers.size());
    const int number = int(x / (chart.plot.width() / count)) + 1;
    if (x >= 0 && number >= 1 && number <= count && m_period.draws > 0)
        QToolTip::showText(help->globalPos(), BarTip(m_period, number), this);
    else
        QToolTip::hideText();
    return true;
}

void HistoryChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const ChartGeometry chart = layout();
    const QFontMetrics metrics = fontMetrics();

    QColor grid = palette().color(QPalette::Text);
    grid.setAlpha(40);
    for (const double tick : chart.ticks) {
        const double y = chart.yOf(tick);
        painter.setPen(grid);
        painter.drawLine(QPointF(chart.plot.left(), y), QPointF(chart.plot.right(), y));
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(
            QRectF(0, y - metrics.height() / 2.0, chart.plot.left() - 4, metrics.height()),
            Qt::AlignRight | Qt::AlignVCenter, QString::number(tick, 'f', 0));
    }

    // A bar outside the band is drawn darker, so that it stands out without a legend of its own.
    const QColor inside = palette().color(QPalette::Highlight);
    for (int i = 0; i < int(chart.bars.size()); ++i) {
        painter.fillRect(chart.bars[std::size_t(i)],
            chart.outside[std::size_t(i)] ? inside.darker(150) : inside);
        if (chart.labelled[std::size_t(i)]) {
            const QRectF &bar = chart.bars[std::size_t(i)];
            painter.drawText(
                QRectF(bar.center().x() - 15, chart.plot.bottom() + 2, 30, metrics.height()),
                Qt::AlignHCenter | Qt::AlignTop, QString::number(i + 1));
        }
    }
    if (m_period.draws == 0)
        return;

    // The band over the bars, translucent, so that a bar shows whether it ends inside it.
    QColor band = palette().color(QPalette::Text);
    band.setAlpha(48);
    painter.fillRect(chart.band, band);
    painter.setPen(QPen(palette().text(), 1, Qt::DashLine));
    painter.drawLine(
        QPointF(chart.plot.left(), chart.expectedY), QPointF(chart.plot.right(), chart.expectedY));
    const QString labels = u"期待値 %1　帯：偶然の幅（±2σ）"_s.arg(OneDecimal(m_period.expected()));
    const QRectF legend(chart.plot.right() - metrics.horizontalAdvance(labels) - 8,
        chart.plot.top(), metrics.horizontalAdvance(labels) + 6, metrics.height() + 2);
    painter.fillRect(legend, palette().base());
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(legend, Qt::AlignCenter, labels);
}
