#include "lcddisplay.h"

#include "fonts.h"

using namespace Qt::StringLiterals;

LcdDisplay::LcdDisplay(QWidget *parent)
    : QTextEdit(parent)
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setTabChangesFocus(true);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::NoWrap);
    setFocusPolicy(Qt::StrongFocus);
    // The whole text in the Japanese font, or the squares of the level bar will not line up
    // under the scale.
    setFont(JapaneseFont(JapaneseFace::Gothic, 9));
}

void LcdDisplay::setDisplayText(const QString &text)
{
    m_text = text;
    QString shown = text;
    shown.replace(u"\r\n"_s, u"\n"_s);
    setPlainText(shown);
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.mergeBlockFormat(centred);
    emit displayTextChanged(m_text);
}

void LcdDisplay::setPointSize(int points)
{
    QFont changed = font();
    changed.setPointSize(points);
    setFont(changed);
}

void LcdDisplay::setColours(const QColor &background, const QColor &text)
{
    QPalette colours = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Base, background);
        colours.setColor(group, QPalette::Text, text);
    }
    setPalette(colours);
}
