#pragma once

#include <QProxyStyle>

// Gives horizontal scroll bars a square thumb of fixed size, so that a short level slider with a
// large page step still shows where its value stands instead of a thumb that fills the track.
class SquareThumbStyle : public QProxyStyle
{
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option,
        SubControl subControl, const QWidget *widget) const override;
};
