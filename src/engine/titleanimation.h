#pragma once

#include <QDate>
#include <QString>

#include <optional>

// The display's title animation: the title typed one character per 100 ms tick (steps 1 to 12),
// held (13 to 22), cleared (23), then today's date as a sentence (24), where the timer stops.

struct TitleFrame
{
    std::optional<QString> text; // nothing: the display keeps its text
    std::optional<int> pointSize;
    bool reseed = false;
    bool stop = false;
};

// The step that follows the counter text; an empty or non-numeric counter counts as 0, and the
// step is kept in eight bits.
quint8 NextTitleStep(const QString &counter);

TitleFrame TitleFrameAt(quint8 step, const QDate &today);

// "本日は  2026年 12月 5日 (土) です。"
QString DateBanner(const QDate &date);
