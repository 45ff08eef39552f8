#pragma once

#include "engine/game.h"

#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <vector>

// The lottery's past results as people have them: the official CSV files with a header row, or
// lines pasted from a web page. Reading needs no display and no database.

// The most grades any game has.
inline constexpr int MostGrades = 6;
using GradeFigures = std::array<qint64, MostGrades>; // by grade, 1等 first; -1 where not given

// One draw. Counts and amounts that the source did not give are -1.
struct PastDraw
{
    int number = 0; // the draw's number, 第 N 回
    QDate date;
    Numbers numbers; // ascending
    Numbers bonuses; // as the source gave them, in the order drawn; none when it gave none
    GradeFigures winners {-1, -1, -1, -1, -1, -1}; // 1等口数 and on
    GradeFigures prizes {-1, -1, -1, -1, -1, -1}; // 1等賞金 and on, in yen
    qint64 carryOver = -1; // キャリーオーバー

    friend bool operator==(const PastDraw &, const PastDraw &) = default;
};

// The highest draw number the program takes, from a file, a dialog or for saved tickets.
inline constexpr int LastDrawNumber = 1'000'000;

// Draws first to last, by number; both 0 when there is none.
struct DrawRange
{
    int first = 0;
    int last = 0;

    friend bool operator==(const DrawRange &, const DrawRange &) = default;
};

// A line that was not read, with the reason in Japanese. Lines count from 1.
struct RejectedLine
{
    qsizetype line = 0;
    QString reason;
};

// Why a draw as stored cannot be one of the game's: a number out of range or out of order, too
// many or too few, a bonus among the drawn numbers or given twice, a negative count, a count of a
// grade or a carry-over the game has not; empty for a draw that can be.
QString StoredDrawFault(const Game &game, const PastDraw &draw);

// The text of a file: UTF-8, UTF-16LE or UTF-16BE after its byte order mark; without one, UTF-8
// when the bytes are valid UTF-8, and code page 932 otherwise.
QString DecodeResults(QByteArrayView bytes);

// The draws read, each with the line it starts on.
struct ReadDraws
{
    std::vector<PastDraw> draws;
    std::vector<qsizetype> lines;
    // Why the whole text is not read, in Japanese; empty when it was. It is no past results at
    // all (its first lines are not text, or no line holds anything like a draw), or its header
    // names a column of another game's. Nothing is rejected then, line by line.
    QString refused;
    bool cancelled = false; // carryOn asked to stop; nothing is returned
};

// The game whose official header starts the text (its first line that is not blank), or none:
// the columns it names are that game's and no other's.
const Game *ResultsGame(const QString &text);

// Reads every draw of the game in a text. With a header row (found by its names, in any order,
// full-width digits allowed, fields separated by commas or, when the header has a tab, by tabs)
// the columns are taken by name, and a row with more or fewer fields than the header is refused;
// a header naming a numbered, bonus or grade column the game lacks (第7数字) refuses the whole
// text, naming the game whose header it is when it is one. Trailing header cells that name no
// column (EOF) do not count. Without a header, each line is a draw number (2097 or 第2097回), an
// optional date (a weekday after it allowed), the drawn numbers and optionally all the bonus
// numbers, as many numbers more or each in parentheses, separated by blanks, tabs, commas or 、.
// As many bare numbers in the game's range as a draw and its bonus numbers are refused: they may
// be a draw without the draw's number. Blank lines
// and the header rows of pasted tables are skipped. Each line that is not a valid draw goes to
// rejected, as it is found, and is not returned. carryOn, when given, is asked now and then with
// the characters read so far, and stops the read by returning false. Time and memory are linear in
// the text's size.
ReadDraws ReadResults(const Game &game, const QString &text,
    const std::function<void(const RejectedLine &)> &rejected,
    const std::function<bool(qsizetype)> &carryOn = {});

// A draw's number as people write it, "2097" or "第2097回", full-width digits too; nothing for
// anything else or a number past LastDrawNumber.
std::optional<int> ReadDrawNumber(const QString &text);

// The official file's header: 開催回, 日付, 第1数字 … キャリーオーバー.
QStringList OfficialHeader(const Game &game);

// One draw from the fields of an official row (開催回, 日付, the drawn numbers, the bonus, each
// grade's winners, each grade's prize, the carry-over), checked as a row of a file is; the
// reason in Japanese when it is not a valid draw.
struct DrawFromFields
{
    std::optional<PastDraw> draw;
    QString reason;
};
DrawFromFields ReadDrawFields(const Game &game, const QStringList &fields);

// The official row's fields of a draw, as ReadDrawFields takes them.
QStringList DrawFields(const Game &game, const PastDraw &draw);
