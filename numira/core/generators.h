// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "numira/core/catalogue.h"
#include "numira/core/problem_store.h"

namespace numira {

// Runs the generator of the chosen category into the store. Each family
// keeps its own table of drawn pairs here for as long as the program runs.
class ProblemGenerators {
public:
    explicit ProblemGenerators(RandomSource& random) : m_random(random) {}

    // Generates for the choice; false when the category has no generator
    // (the store then keeps its previous set).
    bool generate(const Choice& choice, ProblemStore& store);

private:
    RandomSource& m_random;
    UsedPairs m_addition;
    UsedPairs m_subtraction;
    UsedPairs m_multiplication;
    UsedPairs m_division;
};

// The start of every numbered generator: nothing at all (not even a
// re-seeding) for a negative number; otherwise re-seed and clear the family's
// pairs, then give the family's kind of that number, or nullptr when there is
// none (the store is then left as it was).
const ProblemKind* beginGeneration(Category family, int number, UsedPairs& used,
                                   RandomSource& random);

// The end of every generator: the set size into the header slot, and the set
// shuffled when its kind is.
void finishGeneration(ProblemStore& store, const ProblemKind& kind, RandomSource& random);

// The drawing loop of the random types: asks `draw` for candidate pairs (it
// returns false when its acceptance test fails), refuses an ordered pair
// already drawn for this set, and hands each new pair to `write` with its
// slot number, until `setSize` slots are written.
template <typename Draw, typename Write>
void drawDistinctPairs(ProblemStore& store, UsedPairs& used, int setSize, Draw draw, Write write)
{
    store.count = setSize;
    int n = 1;
    while (n <= setSize) {
        qint32 first = 0, second = 0;
        if (!draw(first, second)) continue;
        if (used.contains(first, second, n)) continue;
        used.store(n, first, second);
        write(n, first, second);
        ++n;
    }
}

} // namespace numira
