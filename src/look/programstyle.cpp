#include "programstyle.h"

#include "fonts.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOptionMenuItem>
#include <QStyleOptionSlider>

namespace {

bool isHorizontalScrollBar(QStyle::ComplexControl control, const QStyleOptionComplex *option)
{
    const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option);
    return control == QStyle::CC_ScrollBar && bar && bar->orientation == Qt::Horizontal;
}

} // namespace

QRect ProgramStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option,
    SubControl subControl, const QWidget *widget) const
{
    if (!isHorizontalScrollBar(control, option) || subControl != SC_ScrollBarSlider)
        return QProxyStyle::subControlRect(control, option, subControl, widget);

    const auto *bar = static_cast<const QStyleOptionSlider *>(option);
    const QRect groove = QProxyStyle::subControlRect(control, option, SC_ScrollBarGroove, widget);
    const int length = qMin(groove.height(), groove.width());
    const int position = sliderPositionFromValue(
        bar->minimum, bar->maximum, bar->sliderPosition, groove.width() - length, bar->upsideDown);
    return {groove.left() + position, groove.top(), length, groove.height()};
}

void ProgramStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
    QPainter *painter, const QWidget *widget) const
{
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (!isHorizontalScrollBar(control, option))
        return;

    // A thumb in the text colour's rim over the shadow colour, and, with the
    // keyboard focus, in the highlight colour inside a highlight frame: all within the bar.
    const QPalette &palette = option->palette;
    const bool focused = option->state & State_HasFocus;
    const QRect thumb = subControlRect(control, option, SC_ScrollBarSlider, widget);
    painter->save();
    painter->setPen(palette.color(QPalette::WindowText));
    painter->setBrush(palette.color(focused ? QPalette::Highlight : QPalette::Shadow));
    painter->drawRect(thumb.adjusted(0, 0, -1, -1));
    if (focused) {
        painter->setPen(palette.color(QPalette::Highlight));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}

void ProgramStyle::drawControl(ControlElement element, const QStyleOption *option,
    QPainter *painter, const QWidget *widget) const
{
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (element == CE_MenuItem && item && item->checkType != QStyleOptionMenuItem::NotCheckable
        && !item->checked) {
        QStyleOptionMenuItem unmarked = *item;
        unmarked.checkType = QStyleOptionMenuItem::NotCheckable;
        QProxyStyle::drawControl(element, &unmarked, painter, widget);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void InstallProgramLook()
{
    QApplication::setStyle(new ProgramStyle);
    QApplication::setFont(JapaneseFont(JapaneseFace::UIGothic, 9));
}
