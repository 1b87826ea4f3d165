// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "numira/core/catalogue.h"
#include "numira/core/problem_store.h"

namespace numira {

// Builds the set of multiplication type `number` (0..9) into the store, in
// the order drawn.
void GenerateMultiplication(int number, ProblemStore& store, UsedPairs& used, RandomSource& random);

// Builds the multiplication-table drill of the chosen rows, each row from
// the lowest multiplier up to 9, in shuffled order.
void GenerateMultiplicationTable(const TableRowSelection& selection, ProblemStore& store,
                                 RandomSource& random);

} // namespace numira
