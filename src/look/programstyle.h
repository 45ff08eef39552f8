#pragma once

#include <QProxyStyle>

// The program's look on any desktop style:
// - horizontal scroll bars get a square thumb of fixed size, so that a short level slider with a
//   large page step still shows where its value stands instead of a thumb that fills the track;
//   the thumb stands out from the groove, and a slider with the keyboard focus shows a mark;
// - a checkable menu item shows a mark only while it is checked, as in the classic menus.
class ProgramStyle : public QProxyStyle
{
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option,
        SubControl subControl, const QWidget *widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
        QPainter *painter, const QWidget *widget) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
        const QWidget *widget) const override;
};

// Installs the style and the program's proportional UI font for every window, popup menu and
// message box of the application.
void InstallProgramLook();

// The frame of the windows that the tools menu opens: a title, the system menu and a close
// button, and no buttons to minimise or maximise.
inline constexpr Qt::WindowFlags ToolWindowFlags
    = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
