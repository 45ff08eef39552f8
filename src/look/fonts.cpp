#include "fonts.h"

#include <QStringList>

#include <array>

using namespace Qt::StringLiterals;

QFont JapaneseFont(JapaneseFace face, int pointSize)
{
    // In the order of JapaneseFace: the designed family, on Windows the Japanese families that
    // later versions of Windows have in its place, then the free analogue.
#ifdef Q_OS_WIN
    static const std::array<QStringList, 4> families {{
        {u"MS UI Gothic"_s, u"Meiryo UI"_s, u"Yu Gothic UI"_s, u"IPAPGothic"_s},
        {u"ＭＳ Ｐゴシック"_s, u"MS PGothic"_s, u"Meiryo"_s, u"Yu Gothic"_s, u"IPAPGothic"_s},
        {u"ＭＳ ゴシック"_s, u"MS Gothic"_s, u"Meiryo"_s, u"Yu Gothic"_s, u"IPAGothic"_s},
        {u"ＭＳ Ｐ明朝"_s, u"MS PMincho"_s, u"Yu Mincho"_s, u"MS Gothic"_s, u"IPAPMincho"_s},
    }};
#else
    static const std::array<QStringList, 4> families {{
        {u"MS UI Gothic"_s, u"IPAPGothic"_s},
        {u"ＭＳ Ｐゴシック"_s, u"IPAPGothic"_s},
        {u"ＭＳ ゴシック"_s, u"IPAGothic"_s},
        {u"ＭＳ Ｐ明朝"_s, u"IPAPMincho"_s},
    }};
#endif
    QFont font;
    font.setFamilies(families[static_cast<std::size_t>(face)]);
    font.setPointSize(pointSize);
    if (face == JapaneseFace::Gothic)
        font.setStyleHint(QFont::Monospace);
    return font;
}
