#pragma once

#include <QTextEdit>

// The simulated liquid-crystal display: multi-line, centred, read-only but selectable. It keeps
// the text exactly as the program set it (lines separated by CR LF), since the copy command
// relies on the length of a draw's result. Until a colour theme is set, it shows the palette's
// text and base colours, so that what it shows can always be read.
class LcdDisplay : public QTextEdit
{
    Q_OBJECT

public:
    explicit LcdDisplay(QWidget *parent = nullptr);

    void setDisplayText(const QString &text);
    const QString &displayText() const { return m_text; }

    void setPointSize(int points);
    int pointSize() const { return font().pointSize(); }

    void setColours(const QColor &background, const QColor &text);

signals:
    void displayTextChanged(const QString &text);

private:
    QString m_text;
};
