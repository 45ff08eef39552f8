#include "wheel.h"

#include "engine/game.h"
#include "subsets.h"
#include "tickets/ticketcheck.h"

#include <QStringList>

#include <bit>
#include <numeric>

using namespace Qt::StringLiterals;

const std::array<Guarantee, 10> &Guarantees()
{
    static const std::array<Guarantee, 10> all {
        {{3, 3}, {3, 4}, {3, 5}, {3, 6}, {4, 4}, {4, 5}, {4, 6}, {5, 5}, {5, 6}, {6, 6}}};
    return all;
}

QString GuaranteeText(Guarantee guarantee)
{
    return u"%1 個が当たれば、どれかの券に %2 個"_s.arg(guarantee.m).arg(guarantee.t);
}

std::optional<Guarantee> ParseGuarantee(const QString &text)
{
    const QStringList parts = text.trimmed().split(u'/');
    if (parts.size() != 2)
        return std::nullopt;
    bool tRead = false;
    bool mRead = false;
    const Guarantee guarantee {parts[0].trimmed().toInt(&tRead), parts[1].trimmed().toInt(&mRead)};
    const auto &all = Guarantees();
    if (!tRead || !mRead || std::find(all.begin(), all.end(), guarantee) == all.end())
        return std::nullopt;
    return guarantee;
}

qint64 Binomial(int n, int k)
{
    if (k < 0 || k > n)
        return 0;
    qint64 value = 1;
    for (int i = 1; i <= k; ++i)
        value = value * (n - k + i) / i;
    return value;
}

WheelMatches::WheelMatches(int v, const std::vector<Block> &blocks)
    : m_v(v)
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
    for (int size = 0; size <= DrawnCount; ++size) {
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

std::array<MatchRow, 7> WheelMatches::rows() const
{
    std::array<MatchRow, 7> rows {};
    for (int k = 0; k <= DrawnCount; ++k) {
        MatchRow &row = rows[std::size_t(k)];
        row.k = k;
        row.chance = double(Binomial(m_v, k)) * double(Binomial(NumberCount - m_v, DrawnCount - k))
            / double(Binomial(NumberCount, DrawnCount));
        row.smallest = DrawnCount;
        qint64 sum = 0;
        ForEachSubset(m_v, k, [&](Block subset) {
            row.smallest = std::min<int>(row.smallest, m_best[subset]);
            sum += m_best[subset];
        });
        row.average = double(sum) / double(Binomial(m_v, k));
    }
    return rows;
}

QString GradeOfMatch(int matches)
{
    switch (matches) {
    case 6:
        return u"1等"_s;
    case 5:
        return u"3等"_s;
    case 4:
        return u"4等"_s;
    case 3:
        return u"5等"_s;
    default:
        return u"—"_s;
    }
}

double WinningChance()
{
    const auto chances = RandomTicketChances(true);
    return std::accumulate(chances.begin(), chances.end(), 0.0);
}

std::array<int, 6> PositionsOf(Block block)
{
    std::array<int, 6> positions {};
    for (int &position : positions) {
        position = std::countr_zero(block);
        block &= block - 1;
    }
    return positions;
}

std::vector<Ticket> TicketsOf(const std::vector<Block> &blocks, const std::vector<int> &order)
{
    std::vector<Ticket> tickets;
    tickets.reserve(blocks.size());
    for (const Block block : blocks) {
        Ticket ticket {};
        const auto positions = PositionsOf(block);
        for (std::size_t i = 0; i < ticket.size(); ++i)
            ticket[i] = order[std::size_t(positions[i])];
        std::sort(ticket.begin(), ticket.end());
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

qint64 CountingBound(int v, Guarantee guarantee)
{
    qint64 perTicket = 0;
    for (int j = guarantee.t; j <= std::min(DrawnCount, guarantee.m); ++j)
        perTicket += Binomial(DrawnCount, j) * Binomial(v - DrawnCount, guarantee.m - j);
    const qint64 cases = Binomial(v, guarantee.m);
    return (cases + perTicket - 1) / perTicket;
}

qint64 LowerBound(int v, Guarantee guarantee)
{
    const qint64 counting = CountingBound(v, guarantee);
    return guarantee.t == guarantee.m
        ? std::max(counting, SchoenheimBound(v, DrawnCount, guarantee.t))
        : counting;
}
