#include "wheel.h"

#include "subsets.h"

#include <QStringList>

#include <bit>

using namespace Qt::StringLiterals;

int FewestChosen(const Game &game)
{
    return game.drawn + 1;
}

std::vector<Guarantee> Guarantees(const Game &game)
{
    std::vector<Guarantee> all;
    for (int t = 3; t <= game.drawn; ++t) {
        for (int m = t; m <= game.drawn; ++m)
            all.push_back({t, m});
    }
    return all;
}

QString GuaranteeText(Guarantee guarantee)
{
    return u"%1 個が当たれば、どれかの券に %2 個"_s.arg(guarantee.m).arg(guarantee.t);
}

std::optional<Guarantee> ParseGuarantee(const Game &game, const QString &text)
{
    const QStringList parts = text.trimmed().split(u'/');
    if (parts.size() != 2)
        return std::nullopt;
    bool tRead = false;
    bool mRead = false;
    const Guarantee guarantee {parts[0].trimmed().toInt(&tRead), parts[1].trimmed().toInt(&mRead)};
    const std::vector<Guarantee> all = Guarantees(game);
    if (!tRead || !mRead || std::find(all.begin(), all.end(), guarantee) == all.end())
        return std::nullopt;
    return guarantee;
}

WheelMatches::WheelMatches(int v, int k, const std::vector<Block> &blocks)
    : m_v(v)
    , m_k(k)
    , m_best(std::size_t(1) << v, 0)
{
    // A subset held whole by a ticket is its own best match; any other takes the best of its
    // subsets one smaller.
    constexpr quint8 held = 0x80;
    for (const Block block : blocks) {
        for (Block part = block;; part = (part - 1) & block) {
            m_best[part] = held;
            if (part == 0)
                break;
        }
    }
    for (int size = 0; size <= k; ++size) {
        ForEachSubset(v, size, [&](Block subset) {
            quint8 &best = m_best[subset];
            if (best & held) {
                best = quint8(size);
                return;
            }
            for (Block rest = subset; rest; rest &= rest - 1)
                best = std::max(best, m_best[subset & ~(rest & -rest)]);
        });
    }
}

Coverage WheelMatches::coverage(Guarantee guarantee) const
{
    Coverage found;
    ForEachSubset(m_v, guarantee.m, [&](Block subset) {
        ++found.cases;
        if (m_best[subset] < guarantee.t && found.holes++ == 0)
            found.exampleHole = subset;
    });
    return found;
}

std::vector<MatchRow> WheelMatches::rows(const Game &game) const
{
    std::vector<MatchRow> rows(std::size_t(game.drawn) + 1);
    for (int k = 0; k <= game.drawn; ++k) {
        MatchRow &row = rows[std::size_t(k)];
        row.k = k;
        row.chance = double(Binomial(m_v, k)) * double(Binomial(game.numbers - m_v, game.drawn - k))
            / double(game.combinations());
        row.smallest = m_k;
        qint64 sum = 0;
        ForEachSubset(m_v, k, [&](Block subset) {
            row.smallest = std::min<int>(row.smallest, m_best[subset]);
            sum += m_best[subset];
        });
        row.average = double(sum) / double(Binomial(m_v, k));
    }
    return rows;
}

Numbers PositionsOf(Block block)
{
    Numbers positions;
    for (; block; block &= block - 1)
        positions.push_back(std::countr_zero(block));
    return positions;
}

std::vector<Ticket> TicketsOf(const std::vector<Block> &blocks, const std::vector<int> &order)
{
    std::vector<Ticket> tickets;
    tickets.reserve(blocks.size());
    for (const Block block : blocks) {
        Ticket ticket;
        for (const int position : PositionsOf(block))
            ticket.push_back(order[std::size_t(position)]);
        ticket.sort();
        tickets.push_back(ticket);
    }
    std::sort(tickets.begin(), tickets.end());
    return tickets;
}

std::vector<int> NumbersOf(Block subset, const std::vector<int> &order)
{
    std::vector<int> numbers;
    for (; subset; subset &= subset - 1)
        numbers.push_back(order[std::size_t(std::countr_zero(subset))]);
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

qint64 SchoenheimBound(int v, int k, int t)
{
    // L(v, k, t) = ⌈v/k · L(v−1, k−1, t−1)⌉, with L = 1 once t is 0.
    if (t <= 0)
        return 1;
    const qint64 inner = SchoenheimBound(v - 1, k - 1, t - 1);
    return (qint64(v) * inner + k - 1) / k;
}

qint64 CasesOfTicket(int v, int k, Guarantee guarantee)
{
    qint64 cases = 0;
    for (int j = guarantee.t; j <= std::min(k, guarantee.m); ++j)
        cases += Binomial(k, j) * Binomial(v - k, guarantee.m - j);
    return cases;
}

qint64 CountingBound(int v, int k, Guarantee guarantee)
{
    const qint64 perTicket = CasesOfTicket(v, k, guarantee);
    const qint64 cases = Binomial(v, guarantee.m);
    return (cases + perTicket - 1) / perTicket;
}

qint64 LowerBound(int v, int k, Guarantee guarantee)
{
    const qint64 counting = CountingBound(v, k, guarantee);
    return guarantee.t == guarantee.m ? std::max(counting, SchoenheimBound(v, k, guarantee.t))
                                      : counting;
}
