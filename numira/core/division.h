// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "numira/core/problem_store.h"

namespace numira {

// Builds the set of division type `number` (0..10) into the store, in
// shuffled order.
void GenerateDivision(int number, ProblemStore& store, UsedPairs& used, RandomSource& random);

} // namespace numira
