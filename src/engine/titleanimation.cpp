#include "titleanimation.h"

#include "productinfo.h"

#include "profile.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int titleLength = 12;
constexpr int largePoints = 25;
constexpr int smallPoints = 10;

} // namespace

quint8 NextTitleStep(const QString &counter)
{
    return static_cast<quint8>(LeadingDecimal(counter) + 1);
}

QString DateBanner(const QDate &date)
{
    static constexpr char16_t weekdays[] = u"月火水木金土日"; // Monday is day 1
    return u"本日は  %1年 %2月 %3日 (%4) です。"_s.arg(date.year())
        .arg(date.month())
        .arg(date.day())
        .arg(QChar(weekdays[date.dayOfWeek() - 1]));
}

TitleFrame TitleFrameAt(quint8 step, const QDate &today)
{
    const QString title = QString::fromUtf16(ApplicationTitle);
    TitleFrame frame;
    if (step >= 1 && step <= titleLength) {
        frame.text = title.left(step) + QString(titleLength - step, u' ');
        if (step == 1) {
            frame.pointSize = largePoints;
            frame.reseed = true;
        }
    } else if (step == 23) {
        frame.text = QString();
    } else if (step == 24) {
        frame.text = u"\r\n"_s + DateBanner(today);
        frame.pointSize = smallPoints;
        frame.stop = true;
    }
    return frame;
}
