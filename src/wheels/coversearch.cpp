#include "coversearch.h"

#include "subsets.h"

#include <QStringList>

#include <algorithm>
#include <numeric>
#include <random>
#include <set>
#include <span>

using namespace Qt::StringLiterals;

namespace {

// x → a·x + 1 on positions from..from+n−1 (counted from from), a multiplier of 1 for a shift.
Permutation AffineOn(int from, int n, int a, int plus)
{
    Permutation permutation = Identity();
    for (int x = 0; x < n; ++x)
        permutation[std::size_t(from + x)] = quint8(from + (a * x + plus) % n);
    return permutation;
}

// The subgroup of the units modulo n that a makes: its elements, ascending.
std::vector<int> PowersOf(int a, int n)
{
    std::vector<int> powers {1};
    for (int power = a % n; power != 1; power = power * a % n)
        powers.push_back(power);
    std::ranges::sort(powers);
    return powers;
}

// The most numbers a group leaves in place.
constexpr int MostFixed = 5;

// The field of q = p^e elements, each numbered by its digits base p (the coefficients of a
// polynomial in x, taken modulo a primitive one of degree e, so that x makes every other).
struct Field
{
    int q = 0;
    int p = 0;
    std::vector<int> exponential; // x^i for i = 0..q−2
    std::vector<int> logarithm; // its inverse, -1 for 0

    int primitive() const { return exponential[1]; }

    template<typename Digits>
    int digitwise(int x, int y, Digits digits) const
    {
        int result = 0;
        for (int place = 1; place < q; place *= p)
            result += digits(x / place % p, y / place % p) % p * place;
        return result;
    }
    int sum(int x, int y) const
    {
        return digitwise(x, y, [&](int a, int b) { return a + b; });
    }
    int negative(int x) const
    {
        return digitwise(x, 0, [&](int a, int) { return p - a; });
    }
    int product(int x, int y) const
    {
        if (x == 0 || y == 0)
            return 0;
        return exponential[std::size_t(
            (logarithm[std::size_t(x)] + logarithm[std::size_t(y)]) % (q - 1))];
    }
    int inverse(int x) const
    {
        return exponential[std::size_t((q - 1 - logarithm[std::size_t(x)]) % (q - 1))];
    }
    int power(int x, int n) const
    {
        int result = 1;
        while (n-- > 0)
            result = product(result, x);
        return result;
    }

    // The permutation that takes each element x to image(x), ∞ (position q) left in place.
    template<typename Image>
    Permutation map(Image image) const
    {
        Permutation permutation = Identity();
        for (int x = 0; x < q; ++x)
            permutation[std::size_t(x)] = quint8(image(x));
        return permutation;
    }
};

std::optional<Field> FieldOf(int q)
{
    Field field {q, 2, {}, {}};
    while (q % field.p != 0)
        ++field.p;
    int left = q;
    while (left % field.p == 0)
        left /= field.p;
    if (left != 1)
        return std::nullopt;
    const int top = q / field.p; // the place of the highest digit
    // The polynomials x^e + c(x), c numbered as the elements are, until x makes all q − 1.
    for (int c = 0; c < q; ++c) {
        const auto timesX = [&](int a) {
            const int carry = a / top;
            const int shifted = a % top * field.p;
            return field.sum(shifted,
                field.digitwise(c, 0, [&](int digit, int) { return (field.p - digit) * carry; }));
        };
        field.exponential.clear();
        field.logarithm.assign(std::size_t(q), -1);
        int element = 1;
        while (element != 0 && field.logarithm[std::size_t(element)] < 0) {
            field.logarithm[std::size_t(element)] = int(field.exponential.size());
            field.exponential.push_back(element);
            element = timesX(element);
        }
        if (int(field.exponential.size()) == q - 1)
            return field;
    }
    return std::nullopt;
}

// The orbit of every subset of size `size`: its index by mask, the first member of each (its
// least mask) and how many members it has.
struct Orbits
{
    std::vector<int> of; // by mask, -1 for other sizes
    std::vector<Block> first;
    std::vector<int> size;
};

Orbits OrbitsOf(int v, int size, const PositionGroup &group)
{
    Orbits orbits;
    orbits.of.assign(std::size_t(1) << v, -1);
    ForEachSubset(v, size, [&](Block subset) {
        if (orbits.of[subset] >= 0)
            return;
        const int index = int(orbits.first.size());
        int members = 0;
        for (const Permutation &element : group.elements) {
            int &of = orbits.of[ImageOf(element, subset)];
            members += of < 0;
            of = index;
        }
        orbits.first.push_back(subset);
        orbits.size.push_back(members);
    });
    return orbits;
}

// A set cover: choose columns (tickets' orbits, each at its cost in tickets) so that every row
// (a case's orbit) has one that satisfies it.
struct CoverProblem
{
    std::vector<int> cost;
    std::vector<int> columnStart, columnRows; // the rows of each column, one after another
    std::vector<int> rowStart, rowColumns; // the columns of each row
    int rows = 0;
    int columns() const { return int(cost.size()); }
};

CoverProblem ProblemOf(
    int v, int k, Guarantee guarantee, const Orbits &tickets, const Orbits &cases)
{
    CoverProblem problem;
    problem.rows = int(cases.first.size());
    problem.cost = tickets.size;
    problem.columnStart.push_back(0);
    const Block full = (Block(1) << v) - 1;
    std::vector<int> seen(std::size_t(problem.rows), -1);
    for (int column = 0; column < problem.columns(); ++column) {
        const Block ticket = tickets.first[std::size_t(column)];
        for (int j = guarantee.t; j <= std::min(k, guarantee.m); ++j) {
            ForEachSubsetOf(ticket, j, [&](Block inside) {
                ForEachSubsetOf(full & ~ticket, guarantee.m - j, [&](Block rest) {
                    const int row = cases.of[inside | rest];
                    if (std::exchange(seen[std::size_t(row)], column) != column)
                        problem.columnRows.push_back(row);
                });
            });
        }
        problem.columnStart.push_back(int(problem.columnRows.size()));
    }
    std::vector<int> degree(std::size_t(problem.rows) + 1, 0);
    for (const int row : problem.columnRows)
        ++degree[std::size_t(row) + 1];
    std::partial_sum(degree.begin(), degree.end(), degree.begin());
    problem.rowStart = degree;
    problem.rowColumns.resize(problem.columnRows.size());
    for (int column = 0; column < problem.columns(); ++column) {
        for (int at = problem.columnStart[std::size_t(column)];
             at < problem.columnStart[std::size_t(column) + 1]; ++at)
            problem
                .rowColumns[std::size_t(degree[std::size_t(problem.columnRows[std::size_t(at)])]++)]
                = column;
    }
    return problem;
}

// A list of indices that one can be added to, taken from and picked from at random in constant
// time.
class IndexSet
{
public:
    explicit IndexSet(int size)
        : m_where(std::size_t(size), -1)
    { }
    const std::vector<int> &members() const { return m_members; }
    void insert(int index)
    {
        m_where[std::size_t(index)] = int(m_members.size());
        m_members.push_back(index);
    }
    void erase(int index)
    {
        const int last = m_members.back();
        const int at = std::exchange(m_where[std::size_t(index)], -1);
        m_members[std::size_t(at)] = last;
        if (last != index)
            m_where[std::size_t(last)] = at;
        m_members.pop_back();
    }

private:
    std::vector<int> m_where;
    std::vector<int> m_members;
};

// The columns a cover is expected to need (its rows, over the rows a column covers on average)
// from which the search keeps its chosen columns in order.
constexpr std::size_t RankedFrom = 1000;

// Row-weighting local search on a set cover, with configuration checking: a column taken out
// may come back only once a column beside it (sharing a row) has changed.
class CoverSearch
{
public:
    CoverSearch(const CoverProblem &problem, quint32 seed)
        : m_problem(problem)
        , m_count(std::size_t(problem.rows), 0)
        , m_coverers(std::size_t(problem.rows), 0)
        , m_weight(std::size_t(problem.rows), 1)
        , m_columns(std::size_t(problem.columns()))
        , m_chosen(problem.columns())
        , m_ranked(std::size_t(problem.rows) * std::size_t(problem.columns())
              > RankedFrom * problem.columnRows.size())
        , m_uncovered(problem.rows)
        , m_random(seed)
    {
        for (int row = 0; row < problem.rows; ++row)
            m_uncovered.insert(row);
        for (int column = 0; column < problem.columns(); ++column) {
            Column &state = m_columns[std::size_t(column)];
            state.score = state.open = int(rowsOf(column).size());
            state.cost = problem.cost[std::size_t(column)];
        }
    }

    std::vector<int> run(const std::vector<int> &start, const std::function<bool(qint64)> &carryOn)
    {
        for (const int column : start)
            add(column);
        while (!m_uncovered.members().empty())
            add(bestFor(pickUncovered(), false));
        // Orbits that the others cover wholly, the dearest first.
        std::vector<int> chosen = m_chosen.members();
        std::ranges::sort(chosen, [&](int a, int b) { return cost(a) > cost(b); });
        for (const int column : chosen) {
            if (score(column) == 0)
                remove(column);
        }
        std::vector<int> best = m_chosen.members();
        qint64 bestCost = m_cost;
        int added = -1;
        for (qint64 step = 0;; ++step) {
            while (m_uncovered.members().empty()) {
                if (m_cost < bestCost)
                    best = m_chosen.members(), bestCost = m_cost;
                if (m_chosen.members().empty())
                    return best;
                remove(bestToRemove(-1));
            }
            if (step % 256 == 0 && !carryOn(bestCost))
                break;
            const int taken = bestToRemove(added);
            if (taken >= 0)
                remove(taken);
            added = bestFor(pickUncovered(), true);
            if (added >= 0) {
                add(added);
                while (m_cost >= bestCost && m_chosen.members().size() > 1)
                    remove(bestToRemove(added));
            }
            // Every uncovered row weighs one more.
            ++m_ticks;
        }
        return best;
    }

private:
    std::span<const int> rowsOf(int column) const
    {
        return std::span(m_problem.columnRows)
            .subspan(std::size_t(m_problem.columnStart[std::size_t(column)]),
                std::size_t(m_problem.columnStart[std::size_t(column) + 1]
                    - m_problem.columnStart[std::size_t(column)]));
    }

    std::span<const int> columnsOf(int row) const
    {
        return std::span(m_problem.rowColumns)
            .subspan(std::size_t(m_problem.rowStart[std::size_t(row)]),
                std::size_t(m_problem.rowStart[std::size_t(row) + 1]
                    - m_problem.rowStart[std::size_t(row)]));
    }

    int cost(int column) const { return m_columns[std::size_t(column)].cost; }

    // For a column not chosen, the weight of the uncovered rows it covers; for a chosen one, less
    // the weight of the rows it alone covers.
    qint64 score(int column) const
    {
        const Column &state = m_columns[std::size_t(column)];
        return state.score + m_ticks * state.open;
    }

    int pickUncovered()
    {
        const std::vector<int> &rows = m_uncovered.members();
        return rows[std::uniform_int_distribution<std::size_t>(0, rows.size() - 1)(m_random)];
    }

    // What a change of a column does to the covering, per ticket it costs, and when it last
    // changed: the order in which columns are chosen to change.
    struct Ranked
    {
        qint64 score;
        qint64 changed;
        int cost;
        int column;
        // Worth more, or as much and left alone longer.
        bool operator<(const Ranked &other) const
        {
            const qint64 mine = score * other.cost;
            const qint64 theirs = other.score * cost;
            return mine > theirs || (mine == theirs && changed < other.changed);
        }
    };
    Ranked ranked(int column) const
    {
        const Column &state = m_columns[std::size_t(column)];
        return {score(column), state.changed, state.cost, column};
    }

    // Among candidates, the first in that order.
    template<typename Candidates, typename Allowed>
    int mostWorth(const Candidates &candidates, Allowed allowed) const
    {
        std::optional<Ranked> best;
        for (const int column : candidates) {
            if (!allowed(column))
                continue;
            const Ranked each = ranked(column);
            if (!best || each < *best)
                best = each;
        }
        return best ? best->column : -1;
    }

    int bestToRemove(int kept) const
    {
        if (!m_ranked)
            return mostWorth(m_chosen.members(), [&](int column) { return column != kept; });
        for (const Ranked &each : m_removable) {
            if (each.column != kept)
                return each.column;
        }
        return -1;
    }

    int bestFor(int row, bool checked) const
    {
        return mostWorth(columnsOf(row),
            [&](int column) { return !checked || m_columns[std::size_t(column)].mayAdd; });
    }

    void add(int column) { change(column, true); }
    void remove(int column) { change(column, false); }

    // Puts the column in or takes it out, and mends the scores of every column beside it.
    void change(int column, bool in)
    {
        const int sign = in ? 1 : -1;
        Column &state = m_columns[std::size_t(column)];
        if (in) {
            m_chosen.insert(column);
        } else {
            m_chosen.erase(column);
            if (m_ranked)
                m_removable.erase(ranked(column));
        }
        m_cost += sign * state.cost;
        state.changed = ++m_time;
        // Its score counts the rows it now covers alone, or would cover that none do.
        state.score = 0;
        state.open = 0;
        for (const int row : rowsOf(column)) {
            qint64 &weight = m_weight[std::size_t(row)];
            int &count = m_count[std::size_t(row)];
            if (!in)
                --count, m_coverers[std::size_t(row)] ^= column;
            // A row covered by no other column, or by one other alone.
            if (count == 0) {
                const qint64 uncoveredWeight = in ? weight : weight - m_ticks;
                if (in) {
                    m_uncovered.erase(row);
                    weight += m_ticks;
                    state.score -= weight;
                } else {
                    m_uncovered.insert(row);
                    weight -= m_ticks;
                    state.score += weight;
                    ++state.open;
                }
                for (const int other : columnsOf(row)) {
                    Column &beside = m_columns[std::size_t(other)];
                    if (other != column) {
                        beside.score -= sign * uncoveredWeight;
                        beside.open -= sign;
                    }
                    beside.mayAdd = true;
                }
            } else if (count == 1) {
                const int alone = m_coverers[std::size_t(row)];
                if (m_ranked) {
                    auto node = m_removable.extract(ranked(alone));
                    m_columns[std::size_t(alone)].score += sign * weight;
                    node.value() = ranked(alone);
                    m_removable.insert(std::move(node));
                } else {
                    m_columns[std::size_t(alone)].score += sign * weight;
                }
            }
            if (in)
                ++count, m_coverers[std::size_t(row)] ^= column;
        }
        if (!in)
            state.mayAdd = false;
        else if (m_ranked)
            m_removable.insert(ranked(column));
    }

    // What the search keeps of each column, together so that a change reads each one once.
    struct Column
    {
        qint64 score = 0; // less the ticks times its uncovered rows (open)
        qint64 changed = 0; // when it last changed
        int open = 0;
        int cost = 0;
        bool mayAdd = true;
    };

    const CoverProblem &m_problem;
    std::vector<int> m_count; // the chosen columns that cover each row
    std::vector<int> m_coverers; // their indices, combined by exclusive or: the one when alone
    // Each row's weight; for an uncovered row, less the ticks, since each tick adds one to every
    // uncovered row.
    std::vector<qint64> m_weight;
    std::vector<Column> m_columns;
    IndexSet m_chosen;
    // The chosen columns in the order of taking out, kept only for a cover of many columns: for
    // a few, finding the first among them all costs less than keeping the order.
    bool m_ranked;
    std::set<Ranked> m_removable;
    IndexSet m_uncovered;
    qint64 m_cost = 0;
    qint64 m_time = 0;
    qint64 m_ticks = 0;
    std::mt19937 m_random;
};

// A depth-first search for a cover of at most `most` columns, branching on the columns that cover
// the first uncovered row.
class ExactCover
{
public:
    ExactCover(const CoverProblem &problem, int most, qint64 mostSteps, qint64 perColumn)
        : m_problem(problem)
        , m_count(std::size_t(problem.rows), 0)
        , m_uncovered(problem.rows)
        , m_most(most)
        , m_stepsLeft(mostSteps)
        , m_perColumn(perColumn)
    { }

    bool outOfSteps() const { return m_stepsLeft < 0; }
    bool covered() const { return m_uncovered == 0; }

    void add(int column)
    {
        for (int at = start(column); at < start(column + 1); ++at)
            m_uncovered -= m_count[std::size_t(m_problem.columnRows[std::size_t(at)])]++ == 0;
    }

    void remove(int column)
    {
        for (int at = start(column); at < start(column + 1); ++at)
            m_uncovered += --m_count[std::size_t(m_problem.columnRows[std::size_t(at)])] == 0;
    }

    // Whether the columns added so far, depth of them, can be completed.
    bool completes(int depth)
    {
        if (m_uncovered == 0)
            return true;
        if (--m_stepsLeft < 0 || m_uncovered > qint64(m_most - depth) * m_perColumn)
            return false;
        const auto row = std::size_t(std::ranges::find(m_count, 0) - m_count.begin());
        for (int at = m_problem.rowStart[row]; at < m_problem.rowStart[row + 1]; ++at) {
            const int column = m_problem.rowColumns[std::size_t(at)];
            add(column);
            const bool done = completes(depth + 1);
            remove(column);
            if (done)
                return true;
        }
        return false;
    }

private:
    int start(int column) const { return m_problem.columnStart[std::size_t(column)]; }

    const CoverProblem &m_problem;
    std::vector<int> m_count;
    qint64 m_uncovered;
    int m_most;
    qint64 m_stepsLeft;
    qint64 m_perColumn;
};

} // namespace

Permutation Identity()
{
    Permutation identity {};
    std::iota(identity.begin(), identity.end(), quint8(0));
    return identity;
}

Block ImageOf(const Permutation &permutation, Block block)
{
    Block image = 0;
    for (; block; block &= block - 1)
        image |= Block(1) << permutation[std::size_t(std::countr_zero(block))];
    return image;
}

PositionGroup GroupOf(
    const QString &name, const std::vector<Permutation> &generators, std::size_t mostOrder)
{
    std::set<Permutation> found {Identity()};
    std::vector<Permutation> elements {Identity()};
    for (std::size_t next = 0; next < elements.size(); ++next) {
        for (const Permutation &generator : generators) {
            Permutation product {};
            for (std::size_t x = 0; x < product.size(); ++x)
                product[x] = generator[elements[next][x]];
            if (found.insert(product).second)
                elements.push_back(product);
            if (elements.size() > mostOrder)
                return {name, {}};
        }
    }
    return {name, elements};
}

std::vector<PositionGroup> SearchGroups(int v, std::size_t mostOrder)
{
    std::vector<PositionGroup> groups {{u"1"_s, {Identity()}}};
    const auto keep = [&](const QString &name, const std::vector<Permutation> &generators) {
        PositionGroup group = GroupOf(name, generators, mostOrder);
        if (!group.elements.empty())
            groups.push_back(std::move(group));
    };
    for (int n = v; n >= std::max(3, v - MostFixed); --n) {
        const QString fixed = n < v ? u"+%1"_s.arg(v - n) : QString();
        std::set<std::vector<int>> multipliers;
        for (int a = 1; a < n; ++a) {
            if (std::gcd(a, n) == 1 && multipliers.insert(PowersOf(a, n)).second) {
                keep(a == 1 ? u"Z%1%2"_s.arg(n).arg(fixed) : u"Z%1·%2%3"_s.arg(n).arg(a).arg(fixed),
                    {AffineOn(0, n, 1, 1), AffineOn(0, n, a, 0)});
            }
        }
    }
    // The affine groups of the fields that are not prime (those of a prime are among the
    // multipliers above and the cycles below), also on a few copies at once, and the projective
    // groups of every field on its line: the field's elements as positions 0..q−1 and ∞ as position
    // q. Each with the field's automorphism too.
    for (int q = 4; q <= v; ++q) {
        const std::optional<Field> field = FieldOf(q);
        if (!field)
            continue;
        const bool prime = field->p == q;
        const Permutation plusOne = field->map([&](int x) { return field->sum(x, 1); });
        const Permutation power = field->map([&](int x) { return field->power(x, field->p); });
        const auto times = [&](int factor) {
            return field->map([&, factor](int x) { return field->product(factor, x); });
        };
        const auto withPower
            = [&](const QString &name, const QString &fixed, std::vector<Permutation> generators,
                  const Permutation &automorphism) {
                  keep(name + fixed, generators);
                  if (!prime) {
                      generators.push_back(automorphism);
                      keep(name + u"·φ"_s + fixed, generators);
                  }
              };
        // Every translation and a subgroup of the multipliers, on c copies of the field at once.
        for (int c = 1; !prime && c * q <= v; ++c) {
            if (c * q < v - MostFixed)
                continue;
            const auto onCopies = [&](const Permutation &one) {
                Permutation all = Identity();
                for (int x = 0; x < c * q; ++x)
                    all[std::size_t(x)] = quint8(x / q * q + one[std::size_t(x % q)]);
                return all;
            };
            std::vector<Permutation> translations;
            for (int place = 1; place < q; place *= field->p)
                translations.push_back(
                    onCopies(field->map([&](int x) { return field->sum(x, place); })));
            for (int order = 1; order < q; ++order) {
                if ((q - 1) % order != 0)
                    continue;
                std::vector<Permutation> generators = translations;
                generators.push_back(
                    onCopies(times(field->power(field->primitive(), (q - 1) / order))));
                withPower(u"%1F%2·%3"_s.arg(c > 1 ? u"%1×"_s.arg(c) : QString()).arg(q).arg(order),
                    c * q < v ? u"+%1"_s.arg(v - c * q) : QString(), generators, onCopies(power));
            }
        }
        if (q + 1 > v || q + 1 < v - MostFixed)
            continue;
        const QString fixed = q + 1 < v ? u"+%1"_s.arg(v - q - 1) : QString();
        const QString of = prime ? QString::number(q) : u"F%1"_s.arg(q);
        Permutation inverse
            = field->map([&](int x) { return x == 0 ? q : field->negative(field->inverse(x)); });
        inverse[std::size_t(q)] = 0;
        const int square = field->product(field->primitive(), field->primitive());
        if (q % 2 == 1)
            withPower(u"PSL2(%1)"_s.arg(of), fixed, {plusOne, times(square), inverse}, power);
        withPower(
            u"PGL2(%1)"_s.arg(of), fixed, {plusOne, times(field->primitive()), inverse}, power);
    }
    // The same shift on c cycles of length l, and with the cycles turned round too; each with a
    // multiplier on every cycle at once as well.
    for (int l = 2; l <= v / 2; ++l) {
        for (int c = 2; c * l <= v; ++c) {
            if (c * l < v - MostFixed)
                continue;
            const QString fixed = c * l < v ? u"+%1"_s.arg(v - c * l) : QString();
            Permutation shift = Identity();
            Permutation turn = Identity();
            for (int x = 0; x < c * l; ++x) {
                shift[std::size_t(x)] = quint8(x / l * l + (x % l + 1) % l);
                turn[std::size_t(x)] = quint8((x + l) % (c * l));
            }
            std::set<std::vector<int>> multipliers;
            for (int a = 1; a < l; ++a) {
                if (std::gcd(a, l) != 1 || !multipliers.insert(PowersOf(a, l)).second)
                    continue;
                Permutation times = Identity();
                for (int x = 0; x < c * l; ++x)
                    times[std::size_t(x)] = quint8(x / l * l + x % l * a % l);
                const QString by = a == 1 ? QString() : u"·%1"_s.arg(a);
                keep(u"%1×Z%2%3%4"_s.arg(c).arg(l).arg(by, fixed), {shift, times});
                keep(u"Z%2×Z%1%3%4"_s.arg(c).arg(l).arg(by, fixed), {shift, turn, times});
            }
        }
    }
    // One permutation of cycles of at least two lengths, and fixed points; named by the order of
    // the group it makes and the lengths of all its cycles, e.g. Z6=6+6+3 or Z99=11+9.
    std::vector<int> lengths;
    const std::function<void(int, int)> cycles = [&](int left, int longest) {
        if (left <= MostFixed && !lengths.empty() && lengths.front() != lengths.back()) {
            Permutation shift = Identity();
            QStringList named;
            int at = 0;
            int order = 1;
            for (const int length : lengths) {
                for (int x = 0; x < length; ++x)
                    shift[std::size_t(at + x)] = quint8(at + (x + 1) % length);
                at += length;
                order = std::lcm(order, length);
                named += QString::number(length);
            }
            for (int x = 0; x < left; ++x)
                named += u"1"_s;
            keep(u"Z%1=%2"_s.arg(order).arg(named.join(u'+')), {shift});
        }
        for (int length = std::min(left, longest); length >= 2; --length) {
            lengths.push_back(length);
            cycles(left - length, length);
            lengths.pop_back();
        }
    };
    cycles(v, v);
    return groups;
}

qint64 CoverPairs(int v, int k, Guarantee guarantee, std::size_t groupOrder)
{
    return Binomial(v, k) * CasesOfTicket(v, k, guarantee) / qint64(groupOrder);
}

std::vector<Block> SearchCover(const CoverSearchRequest &request, const PositionGroup &group,
    const std::function<bool(int)> &carryOn)
{
    if (CoverPairs(request.v, request.k, request.guarantee, group.elements.size()) > MostCoverPairs)
        return {};
    const Orbits tickets = OrbitsOf(request.v, request.k, group);
    const Orbits cases = OrbitsOf(request.v, request.guarantee.m, group);
    const CoverProblem problem = ProblemOf(request.v, request.k, request.guarantee, tickets, cases);
    // The start's orbits that it holds whole.
    std::vector<int> start;
    std::vector<int> held(problem.cost.size(), 0);
    for (const Block block : request.start) {
        const int orbit = tickets.of[block];
        if (++held[std::size_t(orbit)] == problem.cost[std::size_t(orbit)])
            start.push_back(orbit);
    }
    CoverSearch search(problem, request.seed);
    const std::vector<int> best
        = search.run(start, [&](qint64 cost) { return carryOn(int(cost)); });
    std::set<Block> blocks;
    for (const int orbit : best) {
        for (const Permutation &element : group.elements)
            blocks.insert(ImageOf(element, tickets.first[std::size_t(orbit)]));
    }
    return {blocks.begin(), blocks.end()};
}

std::optional<bool> FewerExist(int v, int k, Guarantee guarantee, int tickets, qint64 mostSteps)
{
    if (tickets <= LowerBound(v, k, guarantee))
        return false;
    if (CoverPairs(v, k, guarantee, 1) > MostCoverPairs)
        return std::nullopt;
    const PositionGroup none {u"1"_s, {Identity()}};
    const Orbits blocks = OrbitsOf(v, k, none);
    const CoverProblem problem = ProblemOf(v, k, guarantee, blocks, OrbitsOf(v, guarantee.m, none));
    ExactCover exact(problem, tickets - 1, mostSteps, CasesOfTicket(v, k, guarantee));
    // Every design can be renumbered so that its first ticket holds positions 0..k−1 and its
    // second shares the first j of them, the rest next after them.
    const Block first = (Block(1) << k) - 1;
    exact.add(blocks.of[first]);
    if (exact.covered())
        return true;
    for (int j = 0; j < k && tickets - 1 >= 2; ++j) {
        if (v - k < k - j)
            continue;
        const int second = blocks.of[((Block(1) << j) - 1) | (((Block(1) << (k - j)) - 1) << k)];
        exact.add(second);
        const bool done = exact.completes(2);
        exact.remove(second);
        if (done)
            return true;
    }
    if (exact.outOfSteps())
        return std::nullopt;
    return false;
}
