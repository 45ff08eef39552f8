#pragma once

#include "engine/draw.h"

#include <QString>
#include <QStringList>

#include <vector>

class UniformSource;

// Several tickets at once: each is a draw of the main window's kind for the 6-of-43 game (the
// other games draw every open number with the same chance) that starts from the fixed numbers
// and never takes an excluded one, and no two tickets share more numbers than a limit. Needs no
// display.

using Ticket = Numbers; // ascending

inline constexpr int MostTicketsAtOnce = 20;

// The numbers typed in a field, separated by blanks, commas or 、, with full-width digits read
// as digits, each from 1 to the game's highest. A number given twice counts once, and is noted.
// fault names the first part that is no number.
struct NumberList
{
    std::vector<int> numbers; // in the order typed
    std::vector<int> repeated; // given more than once, each once, in the order typed
    QString fault;
};
NumberList ParseNumberList(const Game &game, const QString &text);

// "3 と 11 が 2 回以上書かれています。1 回として扱いました。" after what, for the numbers a list
// repeats; empty when it repeats none.
QString RepeatedNote(const QString &what, const NumberList &list);

struct TicketRequest
{
    DrawInput draw; // the levels and the birthday, for the 6-of-43 game only
    int count = 5; // 1..MostTicketsAtOnce
    std::vector<int> fixed; // every ticket holds these
    std::vector<int> excluded; // no ticket holds these
    int overlap = 5; // 0..drawn - 1: the most numbers two tickets may share
    const Game *game = &Loto6();
};

struct TicketRefusal
{
    QString reason; // in Japanese; empty when the tickets can be drawn
    bool badList = false; // the lists themselves are wrong, not only too demanding
};

// Why the request cannot be met, found by checking (the count 1..20, the limit 0..drawn - 1, the
// lists) and counting alone.
TicketRefusal RefuseTickets(const TicketRequest &request);

// The most tickets of size numbers, chosen from pool numbers, of which no two share more than
// shared (Johnson's bound: no set of tickets is larger, though some sizes are not reached).
qint64 MostTickets(int pool, int size, int shared);

struct TicketsMade
{
    std::vector<Ticket> tickets; // in the order drawn; empty when refused
    TicketRefusal refusal;
};

// The most tickets the request's lists and limit allow by counting (MostTickets).
qint64 MostTicketsFor(const TicketRequest &request);

// Draws the tickets number by number: each pick is the plain draw's among the numbers still
// open, so a ticket alone is the plain draw, pick for pick, and a request that can be met is
// met. A request is refused by counting, by a search that tried every way, or after a second's
// search; the reason says which, with the counting bound.
TicketsMade DrawTickets(const TicketRequest &request, UniformSource &random);

// A request as typed: the fixed and excluded numbers as lists, and what the asker calls each
// list in its messages ("軸数字" in the window, "--fixed " on the command line).
struct TypedTicketRequest
{
    DrawInput draw;
    int count = 5;
    QString fixed;
    QString excluded;
    int overlap = 5;
    QString fixedName;
    QString excludedName;
};

// The tickets drawn for a typed request, or why not: a list that cannot be read is refused as a
// bad list, naming it; notes tell the numbers a list repeats, whether or not tickets are drawn.
struct TypedTicketsMade
{
    TicketsMade made;
    QStringList notes;
};
TypedTicketsMade MakeTickets(
    const Game &game, const TypedTicketRequest &request, UniformSource &random);

// A, B, ... Z, then AA, AB and on, for the tickets of one draw.
QString TicketLetter(int index);
