// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "numira/core/problem_store.h"

namespace numira {

// The division types by their number in the catalogue.
enum class DivisionType {
    kTableOnce = 0, // every table division, enumerated
    kExactToHundred = 1,
    kExactThousandByOneDigit = 2,
    kExactThousandByTwoDigits = 3,
    kRemainderHundredByOneDigit = 4,
    kRemainderTwoHundredByTwoDigits = 5,
    kTenthsByWhole = 6,
    kWholeByTenths = 7,
    kTenthsByTenths = 8,
    kHundredthsByTenths = 9,
    kTableWithRemainder = 10, // every quotient and divisor, enumerated
};

// Builds the set of division type `number` (a DivisionType) into the store,
// in shuffled order.
void generateDivision(int number, ProblemStore& store, UsedPairs& used, RandomSource& random);

} // namespace numira
