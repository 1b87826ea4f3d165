// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "numira/core/problem_store.h"

namespace numira {

// The addition types by their number in the catalogue.
enum class AdditionType {
    kSumsToTen = 0,     // every one-digit pair up to 10
    kOneDigitCarry = 1, // every one-digit pair from 11
    kSumsToTwenty = 2,
    kToHundredNoCarry = 3,
    kToHundred = 4,
    kToThousandNoCarry = 5,
    kToThousand = 6,
    kTenths = 7,     // 0.0 + 0.0
    kHundredths = 8, // 0.00 + 0.00
};

// Builds the set of addition type `number` (an AdditionType) into the store.
void generateAddition(int number, ProblemStore& store, UsedPairs& used, RandomSource& random);

} // namespace numira
