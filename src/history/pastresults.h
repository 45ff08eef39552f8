#pragma once

#include <QByteArrayView>
#include <QDate>
#include <QString>

#include <array>
#include <functional>
#include <vector>

// The lottery's past results as people have them: the official CSV files with a header row, or
// lines pasted from a web page. Reading needs no display and no database.

inline constexpr int PrizeGrades = 5;

// One draw. Counts and amounts that the source did not give are -1.
struct PastDraw
{
    int number = 0; // the draw's number, 第 N 回
    QDate date;
    std::array<int, 6> numbers {}; // ascending
    int bonus = 0; // 0 when the source gave none
    std::array<qint64, PrizeGrades> winners {-1, -1, -1, -1, -1}; // 1等口数 to 5等口数
    std::array<qint64, PrizeGrades> prizes {-1, -1, -1, -1, -1}; // 1等賞金 to 5等賞金, in yen
    qint64 carryOver = -1; // キャリーオーバー

    friend bool operator==(const PastDraw &, const PastDraw &) = default;
};

// A line that was not read, with the reason in Japanese. Lines count from 1.
struct RejectedLine
{
    qsizetype line = 0;
    QString reason;
};

// The text of a file: UTF-8 or UTF-16LE after its byte order mark; without one, UTF-8 when the
// bytes are valid UTF-8, and code page 932 otherwise.
QString DecodeResults(QByteArrayView bytes);

// The draws read, each with the line it starts on.
struct ReadDraws
{
    std::vector<PastDraw> draws;
    std::vector<qsizetype> lines;
};

// Reads every draw of a text. With a header row (found by its names, in any order, full-width
// digits allowed) the columns are taken by name; without one each line is a draw number
// (2097 or 第2097回), an optional date, six numbers and an optional bonus, a seventh number or
// one in parentheses, separated by blanks, tabs, commas or 、. Blank lines are skipped. Each line
// that is not a valid draw goes to rejected, as it is found, and is not returned. Time and
// memory are linear in the text's size.
ReadDraws ReadResults(
    const QString &text, const std::function<void(const RejectedLine &)> &rejected);
