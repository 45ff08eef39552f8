#pragma once

#include "wheel.h"

#include <QString>

#include <array>
#include <functional>
#include <optional>

// The search that writes the shipped wheels: designs that a group of permutations of the
// positions maps onto themselves, and designs with no such symmetry, each found by a local search
// on a set cover. Needs no display.

// A permutation of positions 0..v-1: the image of each.
using Permutation = std::array<quint8, MostChosen>;

Permutation Identity();
Block ImageOf(const Permutation &permutation, Block block);

// A group acting on the positions, as every one of its elements.
struct PositionGroup
{
    QString name;
    std::vector<Permutation> elements;
};

// The group the generators make, or one of no elements when it has more than mostOrder.
PositionGroup GroupOf(
    const QString &name, const std::vector<Permutation> &generators, std::size_t mostOrder);

// Groups of at most mostOrder elements that good designs over v positions are often found under:
// on n of them (n from v − 5 to v, the rest fixed) the cyclic shifts, with a multiplier too; the
// same shift on a few cycles of one length at once; one permutation of cycles of several lengths;
// and the affine and projective groups of the finite fields. The identity alone comes first.
std::vector<PositionGroup> SearchGroups(int v, std::size_t mostOrder);

// Whether a cover search of the group fits in memory: the pairs of a ticket's orbit and a case's
// orbit it satisfies number at most this many.
inline constexpr qint64 MostCoverPairs = 40'000'000;
qint64 CoverPairs(int v, int k, Guarantee guarantee, std::size_t groupOrder);

struct CoverSearchRequest
{
    int v = 10;
    int k = Loto6().drawn;
    Guarantee guarantee;
    quint32 seed = 0;
    std::vector<Block> start; // a full design to improve on, if any; only its whole orbits count
};

// The fewest tickets found that give the guarantee, a union of the group's orbits: a greedy
// start, then a local search that takes out an orbit, puts in one that satisfies an uncovered
// case, and weighs the cases left uncovered more each time (so that the search leaves them).
// carryOn is asked now and then with the tickets of the best design so far; false stops the
// search. Empty when the group's cover search does not fit in memory.
std::vector<Block> SearchCover(const CoverSearchRequest &request, const PositionGroup &group,
    const std::function<bool(int)> &carryOn);

// Whether a design of fewer tickets than given exists for the guarantee: false when the bound or
// an exhaustive search (of at most mostSteps steps) proves that none does; nothing when the
// search would take more.
std::optional<bool> FewerExist(int v, int k, Guarantee guarantee, int tickets, qint64 mostSteps);
