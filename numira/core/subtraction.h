// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "numira/core/problem_store.h"

namespace numira {

// Builds the set of subtraction type `number` (0..8) into the store.
void GenerateSubtraction(int number, ProblemStore& store, UsedPairs& used, RandomSource& random);

} // namespace numira
