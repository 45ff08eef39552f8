#include "figures.h"

#include <QLocale>

#include <cmath>

using namespace Qt::StringLiterals;

QString Grouped(qint64 value)
{
    return QLocale(QLocale::Japanese).toString(value);
}

QString Yen(qint64 value)
{
    return Grouped(value) + u" 円"_s;
}

QString SignedYen(qint64 value)
{
    return (value > 0 ? u"+"_s : QString()) + Yen(value);
}

QString OneDecimal(double value)
{
    // A value that rounds to zero is shown without a sign.
    const QString text = QString::number(value, 'f', 1);
    return text == u"-0.0"_s ? u"0.0"_s : text;
}

QString ThreeFigures(double value)
{
    const int magnitude = value > 0 ? int(std::floor(std::log10(value))) : 0;
    return QLocale(QLocale::Japanese).toString(value, 'f', std::max(0, 2 - magnitude));
}
