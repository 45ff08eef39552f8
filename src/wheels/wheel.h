#pragma once

#include "engine/game.h"
#include "tickets/ticketdraw.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

// Wheels: tickets over the numbers a player chose that guarantee a match of some size in at
// least one ticket whenever enough of the drawn numbers are among the chosen. A design is made
// over positions 0..v-1 and put onto the chosen numbers afterwards. Needs no display.

using Block = quint32; // a ticket over positions 0..v-1: a bit set for each of its numbers

// The most numbers a wheel is made over; the fewest are one more than a ticket holds.
inline constexpr int MostChosen = 20;
int FewestChosen(const Game &game);

// "m 個が当たれば、どれかの券に t 個": if m of the drawn numbers are among the chosen, at
// least one ticket holds t of them.
struct Guarantee
{
    int t = 3;
    int m = 3;

    friend bool operator==(const Guarantee &, const Guarantee &) = default;
};

// Every guarantee offered for the game, 3/3 to drawn/drawn (written t/m), in the order shown.
std::vector<Guarantee> Guarantees(const Game &game);
QString GuaranteeText(Guarantee guarantee);
// "3/4" and the like: t, then m; nothing when the text names no guarantee offered for the game.
std::optional<Guarantee> ParseGuarantee(const Game &game, const QString &text);

// What every m-subset of the chosen numbers finds among the tickets.
struct Coverage
{
    qint64 cases = 0; // C(v, m)
    qint64 holes = 0; // m-subsets in which no ticket holds t
    Block exampleHole = 0; // the first hole, when there is one
    double percent() const
    {
        return cases == 0 ? 100 : 100.0 * double(cases - holes) / double(cases);
    }
};

// For k of the drawn numbers among the chosen: how likely that is in a draw, and the best match
// among the tickets, the least over every way it can happen and the average.
struct MatchRow
{
    int k = 0;
    double chance = 0; // C(v,k)·C(N−v,drawn−k) / C(N,drawn)
    int smallest = 0;
    double average = 0;
};

// The best match of every subset of up to k positions (k the numbers a ticket holds), worked
// out once for a design.
class WheelMatches
{
public:
    WheelMatches(int v, int k, const std::vector<Block> &blocks);

    Coverage coverage(Guarantee guarantee) const;
    std::vector<MatchRow> rows(const Game &game) const; // k = 0..drawn

private:
    int m_v;
    int m_k;
    std::vector<quint8> m_best; // by subset mask, for subsets of up to k positions
};

// The positions of a block, ascending, from 0.
Numbers PositionsOf(Block block);
// The block as tickets of the chosen numbers: position i is the i-th of order.
std::vector<Ticket> TicketsOf(const std::vector<Block> &blocks, const std::vector<int> &order);
// The hole's numbers, from position to chosen number through order, ascending.
std::vector<int> NumbersOf(Block subset, const std::vector<int> &order);

// Lower bounds on the tickets of k numbers a full guarantee needs: Schönheim's for t = m, and for
// any t and m that each ticket can satisfy only so many of the C(v, m) cases.
qint64 SchoenheimBound(int v, int k, int t);
// The cases of C(v, m) that one ticket satisfies: j ≥ t of its numbers and m − j others.
qint64 CasesOfTicket(int v, int k, Guarantee guarantee);
qint64 CountingBound(int v, int k, Guarantee guarantee);
qint64 LowerBound(int v, int k, Guarantee guarantee);
