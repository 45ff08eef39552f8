#include "levelindicator.h"

using namespace Qt::StringLiterals;

LevelIndicator LevelIndicatorFor(bool levelsOn, int strength)
{
    if (!levelsOn)
        return {u"出現レベル : OFF"_s, u"\r\n 出現率を無効にしました。"_s};

    static const QString scale = u"弱　・　・　・｜・　・　・　強"_s;
    const QString bar = (QString(qMax(strength, 0), u'■') + QString(15, u'□')).left(15);
    return {u"出現レベル : "_s + QString::number(strength), scale + u"\r\n"_s + bar};
}
