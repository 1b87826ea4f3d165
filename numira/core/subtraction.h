// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "numira/core/problem_store.h"

namespace numira {

// The subtraction types by their number in the catalogue.
enum class SubtractionType {
    kWithinTen = 0,   // every pair up to 10
    kTeensBorrow = 1, // 10..18 minus one digit, with a borrow
    kFromTwenty = 2,
    kFromHundredNoBorrow = 3,
    kFromHundred = 4,
    kFromThousandNoBorrow = 5,
    kFromThousand = 6,
    kTenths = 7,     // 0.0 - 0.0
    kHundredths = 8, // 0.00 - 0.00
};

// Builds the set of subtraction type `number` (a SubtractionType) into the store.
void generateSubtraction(int number, ProblemStore& store, UsedPairs& used, RandomSource& random);

} // namespace numira
