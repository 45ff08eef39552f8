#include "chartgeometry.h"

#include "engine/figures.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// A round step (1, 2 or 5 times a power of ten) that gives about four ticks over span.
double niceStep(double span)
{
    const double rough = std::max(span, 1.0) / 4;
    const double power = std::pow(10, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough)
            return std::max(1.0, factor * power);
    }
    return std::max(1.0, 10 * power);
}

} // namespace

double ChartGeometry::yOf(double count) const
{
    return plot.bottom() - (count - low) / (high - low) * plot.height();
}

ChartGeometry ChartLayout(const PeriodStatistics &period, QSizeF size, double leftMargin,
    double bottomMargin, bool fromZero)
{
    ChartGeometry chart;
    chart.plot = QRectF(leftMargin, 4, std::max(1.0, size.width() - leftMargin - 4),
        std::max(1.0, size.height() - bottomMargin - 8));
    int least = period.numbers[0].drawn;
    int most = least;
    for (const NumberStatistics &figures : period.numbers) {
        least = std::min(least, figures.drawn);
        most = std::max(most, figures.drawn);
    }
    const double expected = period.expected();
    const double band = period.band();
    double low = std::max(0.0, std::min(double(least), expected - band));
    double high = std::max({double(most), expected + band, 1.0});
    // Zero is kept when it is no farther below the data than the data's own height.
    if (fromZero || low <= high - low)
        low = 0;
    const double step = niceStep(high - low);
    low = std::floor(low / step) * step;
    if (low > 0)
        low = std::max(0.0, low - step);
    high = std::ceil(high / step) * step;
    if (high <= std::max(double(most), expected + band))
        high += step;
    chart.low = low;
    chart.high = high;
    for (double tick = low; tick <= high + step / 2; tick += step)
        chart.ticks.push_back(tick);

    const double width = chart.plot.width() / double(period.numbers.size());
    // Every bar labelled where there is room; otherwise the first, every fifth and the last.
    const std::size_t every = width >= 18 ? 1 : 5;
    const std::size_t count = period.numbers.size();
    for (std::size_t i = 0; i < count; ++i)
        chart.labelled.push_back((i + 1) % every == 0 || i == 0 || i + 1 == count);
    // The last would crowd a fifth just before it.
    if (every > 1 && count > 2 && count % every != 0 && count % every < 3)
        chart.labelled[count - 1 - count % every] = false;
    for (std::size_t i = 0; i < period.numbers.size(); ++i) {
        const int drawn = period.numbers[i].drawn;
        const double top = chart.yOf(drawn);
        chart.bars.emplace_back(chart.plot.left() + double(i) * width + 1, top,
            std::max(1.0, width - 2), chart.plot.bottom() - top);
        chart.outside.push_back(period.draws > 0 && std::abs(drawn - expected) > band);
    }
    chart.expectedY = chart.yOf(expected);
    const double bandTop = chart.yOf(expected + band);
    chart.band = QRectF(chart.plot.left(), bandTop, chart.plot.width(),
        std::min(chart.plot.bottom(), chart.yOf(expected - band)) - bandTop);
    return chart;
}

QString BarTip(const PeriodStatistics &period, int number)
{
    const int drawn = period.numbers[std::size_t(number - 1)].drawn;
    const bool outside = std::abs(drawn - period.expected()) > period.band();
    return u"%1：%2 回（期待値 %3）、%4"_s.arg(number).arg(drawn).arg(OneDecimal(period.expected()),
        outside ? (drawn > period.expected() ? u"偶然の幅より多い"_s : u"偶然の幅より少ない"_s)
                : u"偶然の幅の中"_s);
}
