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
    case kAddition: generateAddition(choice.number, store, m_addition, m_random); return true;
    case kSubtraction:
        generateSubtraction(choice.number, store, m_subtraction, m_random);
        return true;
    case kMultiplication:
        generateMultiplication(choice.number, store, m_multiplication, m_random);
        return true;
    case kDivision: generateDivision(choice.number, store, m_division, m_random); return true;
    case kMultiplicationTable:
        // No row chosen: nothing to drill; the window asks again.
        if (!choice.makesASet()) return false;
        generateMultiplicationTable(choice.tableRows, store, m_random);
        return true;
    default: return false;
    }
}

const ProblemKind* beginGeneration(Category family, int number, UsedPairs& used,
                                   RandomSource& random)
{
    if (number < 0) return nullptr;
    random.reseedFromClock();
    used.reset();
    return findProblemKind(family, number);
}

void finishGeneration(ProblemStore& store, const ProblemKind& kind, RandomSource& random)
{
    store.countText() = QString::number(store.count);
    if (kind.shuffled) shuffleSlots(store, random);
}

} // namespace numira
