#include "fonts.h"

#include <QStringList>

using namespace Qt::StringLiterals;

QFont JapaneseFont(JapaneseFace face, int pointSize)
{
    QStringList families;
    switch (face) {
    case JapaneseFace::UIGothic:
        families = {u"MS UI Gothic"_s, u"IPAPGothic"_s};
        break;
    case JapaneseFace::PGothic:
        families = {u"ＭＳ Ｐゴシック"_s, u"IPAPGothic"_s};
        break;
    case JapaneseFace::Gothic:
        families = {u"ＭＳ ゴシック"_s, u"IPAGothic"_s};
        break;
    case JapaneseFace::PMincho:
        families = {u"ＭＳ Ｐ明朝"_s, u"IPAPMincho"_s};
        break;
    }
    QFont font;
    font.setFamilies(families);
    font.setPointSize(pointSize);
    if (face == JapaneseFace::Gothic)
        font.setStyleHint(QFont::Monospace);
    return font;
}
