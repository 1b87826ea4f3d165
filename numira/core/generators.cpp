// SPDX-License-Identifier: GPL-3.0-or-later
#include "numira/core/generators.h"

#include "numira/core/addition.h"
#include "numira/core/division.h"
#include "numira/core/multiplication.h"
#include "numira/core/subtraction.h"

namespace numira {

bool ProblemGenerators::generate(const Choice& choice, ProblemStore& store)
{
    switch (choice.category) {
    case kAddition: GenerateAddition(choice.number, store, m_addition, m_random); return true;
    case kSubtraction:
        GenerateSubtraction(choice.number, store, m_subtraction, m_random);
        return true;
    case kMultiplication:
        GenerateMultiplication(choice.number, store, m_multiplication, m_random);
        return true;
    case kDivision: GenerateDivision(choice.number, store, m_division, m_random); return true;
    case kMultiplicationTable:
        // No row chosen: nothing to drill; the window asks again.
        if (!choice.makesASet()) return false;
        GenerateMultiplicationTable(choice.tableRows, store, m_random);
        return true;
    default: return false;
    }
}

const ProblemKind* BeginGeneration(Category family, int number, UsedPairs& used,
                                   RandomSource& random)
{
    if (number < 0) return nullptr;
    random.reseedFromClock();
    used.reset();
    return FindProblemKind(family, number);
}

void FinishGeneration(ProblemStore& store, const ProblemKind& kind, RandomSource& random)
{
    store.countText() = QString::number(store.count);
    if (kind.shuffled) ShuffleSlots(store, random);
}

} // namespace numira
