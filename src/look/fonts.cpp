#include "fonts.h"

#include <QStringList>

#include <array>

using namespace Qt::StringLiterals;

QFont JapaneseFont(JapaneseFace face, int pointSize)
{
    // In the order of JapaneseFace: the designed family, then its free analogue.
    static const std::array<QStringList, 4> families {{
        {u"MS UI Gothic"_s, u"IPAPGothic"_s},
        {u"ＭＳ Ｐゴシック"_s, u"IPAPGothic"_s},
        {u"ＭＳ ゴシック"_s, u"IPAGothic"_s},
        {u"ＭＳ Ｐ明朝"_s, u"IPAPMincho"_s},
    }};
    QFont font;
    font.setFamilies(families[static_cast<std::size_t>(face)]);
    font.setPointSize(pointSize);
    if (face == JapaneseFace::Gothic)
        font.setStyleHint(QFont::Monospace);
    return font;
}
