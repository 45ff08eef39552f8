#include "wheelsearch.h"

#include "subsets.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace {

// The cases of a guarantee (every m-subset of the positions), how many tickets satisfy each,
// and the uncovered ones in a list that a random one can be picked from. The tickets holding
// each (t − 1)-subset are indexed: a ticket closest to an uncovered case shares t − 1 of its
// positions, so a proposal reads a few tickets instead of all of them.
class Annealer
{
public:
    Annealer(int v, int k, Guarantee guarantee, quint32 seed)
        : m_k(k)
        , m_t(guarantee.t)
        , m_m(guarantee.m)
        , m_full((Block(1) << v) - 1)
        , m_rank(std::size_t(1) << v, -1)
        , m_random(seed)
    {
        ForEachSubset(v, m_m, [&](Block subset) {
            m_rank[subset] = int(m_cases.size());
            m_cases.push_back(subset);
        });
        // A (t − 1)-subset has fewer positions than a case, so its rank shares the table.
        int parts = 0;
        ForEachSubset(v, m_t - 1, [&](Block subset) { m_rank[subset] = parts++; });
        m_holders.resize(std::size_t(parts));
        m_count.assign(m_cases.size(), 0);
        m_where.assign(m_cases.size(), -1);
        for (int index = 0; index < int(m_cases.size()); ++index)
            uncover(index);
    }

    const std::vector<Block> &blocks() const { return m_blocks; }
    qint64 uncovered() const { return qint64(m_uncovered.size()); }

    void add(Block block)
    {
        m_blocks.push_back(block);
        hold(m_blocks.size() - 1);
        forEachCase(block, [&](int index) {
            if (m_count[std::size_t(index)]++ == 0)
                cover(index);
        });
    }

    void removeAt(std::size_t at)
    {
        forEachCase(m_blocks[at], [&](int index) {
            if (--m_count[std::size_t(index)] == 0)
                uncover(index);
        });
        release(at);
        m_blocks.erase(m_blocks.begin() + std::ptrdiff_t(at));
        if (at == m_blocks.size())
            return;
        for (auto &holders : m_holders) {
            for (int &holder : holders)
                holder -= holder > int(at);
        }
    }

    // Takes away the ticket whose loss leaves the fewest cases uncovered.
    void removeWeakest()
    {
        std::size_t weakest = 0;
        qint64 fewest = std::numeric_limits<qint64>::max();
        for (std::size_t at = 0; at < m_blocks.size(); ++at) {
            qint64 alone = 0;
            forEachCase(
                m_blocks[at], [&](int index) { alone += m_count[std::size_t(index)] == 1; });
            if (alone < fewest)
                fewest = alone, weakest = at;
        }
        removeAt(weakest);
    }

    // Adds tickets until every case is covered, each the best of a few that cover a random
    // uncovered case.
    void complete()
    {
        while (!m_uncovered.empty()) {
            const Block target = m_cases[std::size_t(pickUncovered())];
            Block best = 0;
            qint64 most = -1;
            for (int candidate = 0; candidate < 24; ++candidate) {
                const Block block = around(target);
                qint64 gain = 0;
                forEachCase(block, [&](int index) { gain += m_count[std::size_t(index)] == 0; });
                if (gain > most)
                    most = gain, best = block;
            }
            add(best);
        }
    }

    // Simulated annealing on the number of uncovered cases, for at most steps moves, until
    // none is uncovered or carryOn says stop; the moves made. When keepBest, the blocks end as
    // the best found on the way.
    qint64 anneal(qint64 steps, bool keepBest, std::optional<double> held,
        const std::function<bool(qint64)> &carryOn)
    {
        std::vector<Block> best = m_blocks;
        qint64 fewest = uncovered();
        const qint64 round = std::max<qint64>(200'000, qint64(m_cases.size()) * 40);
        std::uniform_real_distribution<double> unit(0, 1);
        qint64 step = 0;
        for (; step < steps && !m_uncovered.empty(); ++step) {
            if (step % 4096 == 0 && carryOn && !carryOn(step))
                break;
            // Unless held, the temperature falls from 1 to 0.05 in each round, and starts again.
            const double temperature
                = held ? *held : std::pow(0.05, double(step % round) / double(round));
            const Move move = proposal();
            const qint64 delta = evaluate(move);
            if (delta <= 0 || unit(m_random) < std::exp(-double(delta) / temperature)) {
                apply(move);
                if (keepBest && uncovered() < fewest)
                    fewest = uncovered(), best = m_blocks;
            }
        }
        if (keepBest && uncovered() > fewest)
            setBlocks(best);
        return step;
    }

    void setBlocks(const std::vector<Block> &blocks)
    {
        while (!m_blocks.empty())
            removeAt(m_blocks.size() - 1);
        for (const Block block : blocks)
            add(block);
    }

private:
    struct Move
    {
        std::size_t at = 0;
        Block out = 0; // the position that leaves the ticket
        Block in = 0; // the position that takes its place
    };

    void cover(int index)
    {
        const int last = m_uncovered.back();
        const int at = m_where[std::size_t(index)];
        m_uncovered[std::size_t(at)] = last;
        m_where[std::size_t(last)] = at;
        m_uncovered.pop_back();
        m_where[std::size_t(index)] = -1;
    }

    void uncover(int index)
    {
        m_where[std::size_t(index)] = int(m_uncovered.size());
        m_uncovered.push_back(index);
    }

    int pickUncovered()
    {
        return m_uncovered[std::uniform_int_distribution<std::size_t>(0, m_uncovered.size() - 1)(
            m_random)];
    }

    Block randomBitOf(Block set)
    {
        int skip = std::uniform_int_distribution<int>(0, BitCount(set) - 1)(m_random);
        for (; skip > 0; --skip)
            set &= set - 1;
        return set & -set;
    }

    // A ticket holding t random positions of the case (or all when fewer), the rest at random.
    Block around(Block target)
    {
        Block block = 0;
        for (int taken = 0; taken < std::min(m_t, BitCount(target)); ++taken)
            block |= randomBitOf(target & ~block);
        while (BitCount(block) < m_k)
            block |= randomBitOf(m_full & ~block);
        return block;
    }

    // Moves one position of the ticket closest to a random uncovered case into the case.
    Move proposal()
    {
        const Block target = m_cases[std::size_t(pickUncovered())];
        // Those sharing t − 1 positions each hold one (t − 1)-subset of the case: one of them,
        // counted through the lists of its subsets.
        m_near.clear();
        std::size_t near = 0;
        ForEachSubsetOf(target, m_t - 1, [&](Block part) {
            m_near.push_back(&m_holders[std::size_t(m_rank[part])]);
            near += m_near.back()->size();
        });
        Move move;
        if (near > 0) {
            std::size_t pick = std::uniform_int_distribution<std::size_t>(0, near - 1)(m_random);
            for (const std::vector<int> *holders : m_near) {
                if (pick < holders->size()) {
                    move.at = std::size_t((*holders)[pick]);
                    break;
                }
                pick -= holders->size();
            }
        } else {
            // One of the closest others, gathered in one pass.
            int closest = -1;
            m_closest.clear();
            for (int at = 0; at < int(m_blocks.size()); ++at) {
                const int shared = BitCount(m_blocks[std::size_t(at)] & target);
                if (shared > closest)
                    closest = shared, m_closest.clear();
                if (shared == closest)
                    m_closest.push_back(at);
            }
            move.at = std::size_t(m_closest[std::uniform_int_distribution<std::size_t>(
                0, m_closest.size() - 1)(m_random)]);
        }
        const Block block = m_blocks[move.at];
        move.out = randomBitOf(block & ~target);
        move.in = randomBitOf(target & ~block);
        return move;
    }

    // The cases a move uncovers and those it covers differ only where the ticket's other five
    // positions hold t − 1 of the case: calls lost or gained for each, by index.
    template<typename Lost, typename Gained>
    void forEachChange(const Move &move, Lost lost, Gained gained) const
    {
        const Block kept = m_blocks[move.at] & ~move.out;
        const Block outside = m_full & ~(kept | move.out | move.in);
        ForEachSubsetOf(kept, m_t - 1, [&](Block some) {
            ForEachSubsetOf(outside, m_m - m_t, [&](Block rest) {
                lost(m_rank[some | rest | move.out]);
                gained(m_rank[some | rest | move.in]);
            });
        });
    }

    qint64 evaluate(const Move &move) const
    {
        qint64 delta = 0;
        forEachChange(
            move, [&](int index) { delta += m_count[std::size_t(index)] == 1; },
            [&](int index) { delta -= m_count[std::size_t(index)] == 0; });
        return delta;
    }

    void apply(const Move &move)
    {
        forEachChange(
            move,
            [&](int index) {
                if (--m_count[std::size_t(index)] == 0)
                    uncover(index);
            },
            [&](int index) {
                if (m_count[std::size_t(index)]++ == 0)
                    cover(index);
            });
        release(move.at);
        m_blocks[move.at] = (m_blocks[move.at] & ~move.out) | move.in;
        hold(move.at);
    }

    void hold(std::size_t at)
    {
        ForEachSubsetOf(m_blocks[at], m_t - 1,
            [&](Block part) { m_holders[std::size_t(m_rank[part])].push_back(int(at)); });
    }

    void release(std::size_t at)
    {
        ForEachSubsetOf(m_blocks[at], m_t - 1, [&](Block part) {
            auto &holders = m_holders[std::size_t(m_rank[part])];
            *std::find(holders.begin(), holders.end(), int(at)) = holders.back();
            holders.pop_back();
        });
    }

    // Every case the ticket satisfies: j ≥ t of its positions and m − j others.
    template<typename Visit>
    void forEachCase(Block block, Visit visit) const
    {
        for (int j = m_t; j <= std::min(m_k, m_m); ++j) {
            ForEachSubsetOf(block, j, [&](Block inside) {
                ForEachSubsetOf(
                    m_full & ~block, m_m - j, [&](Block rest) { visit(m_rank[inside | rest]); });
            });
        }
    }

    int m_k; // the numbers a ticket holds
    int m_t;
    int m_m;
    Block m_full;
    std::vector<Block> m_cases; // every m-subset, by index
    std::vector<int> m_rank; // the index of an m-subset or a (t − 1)-subset, by mask
    std::vector<int> m_count; // the tickets that satisfy each case
    std::vector<int> m_uncovered; // the cases no ticket satisfies
    std::vector<int> m_where; // each case's place in m_uncovered, or -1
    std::vector<Block> m_blocks;
    std::vector<std::vector<int>> m_holders; // the tickets holding each (t − 1)-subset
    std::vector<const std::vector<int> *> m_near; // the lists a proposal chooses among
    std::vector<int> m_closest; // failing those, the tickets it chooses among
    std::mt19937 m_random;
};

} // namespace

std::vector<Block> EveryCombination(int v, int k)
{
    std::vector<Block> blocks;
    ForEachSubset(v, k, [&](Block block) { blocks.push_back(block); });
    return blocks;
}

std::vector<Block> SearchWheel(const WheelSearchRequest &request,
    const std::function<bool(const WheelSearchProgress &)> &carryOn)
{
    // Each ticket satisfies one case of k/k alone: under a limit, any of them do as well.
    if (request.guarantee.t == request.k) {
        std::vector<Block> every = EveryCombination(request.v, request.k);
        if (request.most && qsizetype(every.size()) > *request.most)
            every.resize(std::size_t(*request.most));
        return every;
    }
    Annealer annealer(request.v, request.k, request.guarantee, request.seed);
    annealer.setBlocks(request.start);
    annealer.complete();
    std::vector<Block> best = annealer.blocks();
    qint64 used = 0;
    WheelSearchProgress progress {0, int(best.size()), 0};
    const auto onTheWay = [&](qint64 step) {
        progress.done = double(used + step) / double(request.steps);
        return !carryOn || carryOn(progress);
    };
    // Whether the search may go on.
    const auto spend = [&](qint64 steps, bool keepBest) {
        bool stopped = false;
        used += annealer.anneal(steps, keepBest, request.temperature, [&](qint64 step) {
            stopped = !onTheWay(step);
            return !stopped;
        });
        return !stopped && used < request.steps;
    };

    if (request.most && int(best.size()) > *request.most) {
        // As few cases left uncovered as the limit allows.
        while (int(annealer.blocks().size()) > std::max(1, *request.most))
            annealer.removeWeakest();
        progress = {0, int(annealer.blocks().size()), annealer.uncovered()};
        spend(request.steps, true);
        return annealer.blocks();
    }
    // One ticket fewer at a time, for as long as the annealing covers every case again.
    const auto bound = std::size_t(LowerBound(request.v, request.k, request.guarantee));
    for (bool more = true; more && best.size() > bound;) {
        annealer.removeWeakest();
        more = spend(request.steps - used, false);
        if (annealer.uncovered() > 0)
            break;
        best = annealer.blocks();
        progress.tickets = int(best.size());
    }
    return best;
}
