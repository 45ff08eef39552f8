#include "squarethumbstyle.h"

#include <QStyleOptionSlider>

QRect SquareThumbStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option,
    SubControl subControl, const QWidget *widget) const
{
    const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (control != CC_ScrollBar || subControl != SC_ScrollBarSlider || !bar
        || bar->orientation != Qt::Horizontal)
        return QProxyStyle::subControlRect(control, option, subControl, widget);

    const QRect groove = QProxyStyle::subControlRect(control, option, SC_ScrollBarGroove, widget);
    const int length = qMin(groove.height(), groove.width());
    const int position = sliderPositionFromValue(
        bar->minimum, bar->maximum, bar->sliderPosition, groove.width() - length, bar->upsideDown);
    return {groove.left() + position, groove.top(), length, groove.height()};
}
