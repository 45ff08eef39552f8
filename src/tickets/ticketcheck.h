#pragma once

#include "ticketdraw.h"
#include "ticketstore.h"

#include <QStringList>

// Saved tickets against the results: the grades, the prizes, and what any ticket gets by chance.

// The grade of a ticket in a draw by the game's grade table: 1 for 1等 and on, 0 for none. A draw
// stored without its bonus grades every ticket as holding no bonus number.
struct Grading
{
    int matches = 0;
    int grade = 0;
};
Grading GradeOf(const Game &game, const Ticket &ticket, const PastDraw &draw);

// What the saved tickets cost and won. A ticket whose draw has no prize amount for it, or is
// not stored, is counted apart and adds nothing to the money won.
struct TicketSummary
{
    int tickets = 0;
    qint64 spent = 0;
    qint64 won = 0;
    int unsettled = 0; // graded, but the draw has no prize amounts: 未確定
    int noWinner = 0; // graded, but nobody won that grade, so it has no amount
    int undrawn = 0; // the draw is not stored yet: 未抽せん
    qint64 balance() const { return won - spent; }
};

// The prize of one ticket: 0 for no grade, -1 when the draw has no amount for its grade, and
// NoWinnerPrize where the draw gives 0 winners and 0 yen for it (nobody won it, so no amount
// was set: 該当なし（金額不明）).
inline constexpr qint64 NoWinnerPrize = -2;
qint64 PrizeOf(const Grading &grading, const PastDraw &draw);

// The stored draw of that number, or none; draws are in the order of their numbers.
const PastDraw *FindDraw(const std::vector<PastDraw> &draws, int number);

TicketSummary Summarise(
    const Game &game, const std::vector<SavedTicket> &tickets, const std::vector<PastDraw> &draws);

// How often each grade came up for the tickets over the draws, and how often a random ticket
// would win it over the same tickets and draws on average.
struct GradeCounts
{
    std::vector<qint64> counted; // by grade, 1等 first
    std::vector<double> expected;
    qint64 checks = 0; // tickets times draws
};
GradeCounts CheckAgainstAll(
    const Game &game, const std::vector<Ticket> &tickets, const std::vector<PastDraw> &draws);

// The saved tickets, in the order given, graded as CSV that spreadsheets take as data: the draw's
// number and date, the letter, 作成/入力/ホイール, the numbers as コピー writes them, the matches,
// the grade (0 for none), what the ticket cost and won in yen; an empty field where it is not
// known (before the draw, or a prize with no amount); then a row 合計 with what all cost and won.
// Its ticket rows read back through ParseEnteredTickets.
QString CheckedTicketsCsv(
    const Game &game, const std::vector<SavedTicket> &tickets, const std::vector<PastDraw> &draws);

// Tickets typed or pasted, a line each: the game's count of numbers, alone or after a letter as
// コピー writes them ("A 03 11 19 27 38 42"), or a ticket row of CheckedTicketsCsv. Blank lines are
// skipped; each other line that is no ticket is a fault, "2 行目：…".
struct EnteredTickets
{
    std::vector<Ticket> tickets; // ascending each, in the order given
    QStringList faults;
};
EnteredTickets ParseEnteredTickets(const Game &game, const QString &text);

// Where the tickets stand among those saved already: "第2100回 B" for each saved ticket of one
// of those draws with the same numbers as one of them.
QStringList SavedAlready(const std::vector<SavedTicket> &saved, const std::vector<int> &draws,
    const std::vector<Ticket> &tickets);

// The most consecutive draws one entered ticket is for, as a play slip allows (継続回数).
inline constexpr int MostDrawsAhead = 10;
