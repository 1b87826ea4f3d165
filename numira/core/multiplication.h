// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "numira/core/catalogue.h"
#include "numira/core/problem_store.h"

namespace numira {

// The multiplication types by their number in the catalogue: the digits of
// the two factors, in the order written.
enum class MultiplicationType {
    kTwoByOneNoCarry = 0,
    kTwoByOne = 1,
    kOneByTwoNoCarry = 2,
    kOneByTwo = 3,
    kTwoByTwo = 4,
    kTenthsByOne = 5,
    kHundredthsByTwo = 6,
    kTwoByHundredths = 7,
    kTenthsByTenths = 8,
    kHundredthsAndTenths = 9, // either order, chosen with each draw
};

// Builds the set of multiplication type `number` (a MultiplicationType) into
// the store, in the order drawn.
void generateMultiplication(int number, ProblemStore& store, UsedPairs& used, RandomSource& random);

// Builds the multiplication-table drill of the chosen rows, each row from
// the lowest multiplier up to 9, in shuffled order.
void generateMultiplicationTable(const TableRowSelection& selection, ProblemStore& store,
                                 RandomSource& random);

} // namespace numira
