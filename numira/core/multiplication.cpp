// SPDX-License-Identifier: GPL-3.0-or-later
#include "numira/core/multiplication.h"

#include "numira/core/generators.h"

#include <algorithm>

namespace numira {

namespace {

// One factor of a type: drawn from 0..range-1 plus offset, and held as a
// whole number (0 places), tenths (1) or hundredths (2).
struct Factor {
    int range;
    int offset;
    int places;
};

// The two factors of a type, in the order written.
struct Factors {
    Factor first;
    Factor second;
};

constexpr Factor kOneDigit{9, 1, 0};     // 1..9
constexpr Factor kTwoDigits{100, 0, 0};  // 0..99
constexpr Factor kTenths{99, 1, 1};      // 0.1..9.9
constexpr Factor kHundredths{999, 1, 2}; // 0.01..9.99

// Types 0..8 by number; kHundredthsAndTenths picks the order of its two
// factors with each draw.
constexpr Factors kFactors[] = {
    {kTwoDigits, kOneDigit},    // 0: no carry from the ones
    {kTwoDigits, {10, 0, 0}},   // 1: times 0..9
    {kOneDigit, {99, 1, 0}},    // 2: no carry from the ones
    {kOneDigit, {99, 1, 0}},    // 3
    {kTwoDigits, kTwoDigits},   // 4
    {kTenths, kOneDigit},       // 5: 2.0 allowed
    {kHundredths, {89, 10, 0}}, // 6: times 10..98
    {{89, 10, 0}, kHundredths}, // 7
    {kTenths, kTenths},         // 8
};
constexpr Factors kHundredthsFirst{kHundredths, kTenths};
constexpr Factors kTenthsFirst{kTenths, kHundredths};

bool endsInZero(qint32 value) { return value % 10 == 0; }

bool accepted(MultiplicationType type, qint32 a, qint32 b)
{
    switch (type) {
    case MultiplicationType::kTwoByOneNoCarry:
        return (a % 10) * b <= 9; // no carry out of the ones place
    case MultiplicationType::kOneByTwoNoCarry: return a * (b % 10) <= 9;
    case MultiplicationType::kHundredthsByTwo: return !endsInZero(a);
    case MultiplicationType::kTwoByHundredths: return !endsInZero(b);
    case MultiplicationType::kTenthsByTenths:
    case MultiplicationType::kHundredthsAndTenths: return !endsInZero(a) && !endsInZero(b);
    default: return true;
    }
}

// A factor keeps all its places in the question (tenths 20 is 2.0,
// hundredths 5 is 0.05); the product carries the places of both factors.
void writeProduct(ProblemStore& store, int n, qint32 a, qint32 b, const Factors& factors)
{
    TextBuffer()
        .fixed(a, factors.first.places)
        .bytes('x')
        .fixed(b, factors.second.places)
        .storeIn(store.slot[n].question);
    TextBuffer()
        .decimal(qint64(a) * b, factors.first.places + factors.second.places)
        .storeIn(store.slot[n].answer);
}

qint32 draw(const Factor& factor, RandomSource& random)
{
    return random.uniform(factor.range) + factor.offset;
}

} // namespace

void generateMultiplication(int number, ProblemStore& store, UsedPairs& used, RandomSource& random)
{
    const ProblemKind* kind = beginGeneration(kMultiplication, number, used, random);
    if (!kind) return;

    // The factors of the attempt being drawn; kHundredthsAndTenths chooses
    // them anew each time. The duplicate test sees only the two scaled
    // integers, whatever the order.
    const auto type = static_cast<MultiplicationType>(number);
    const bool eitherOrder = type == MultiplicationType::kHundredthsAndTenths;
    const Factors* factors = eitherOrder ? nullptr : &kFactors[number];
    drawDistinctPairs(
        store, used, kMaxProblems,
        [&](qint32& a, qint32& b) {
            if (eitherOrder) factors = random.uniform(2) == 0 ? &kHundredthsFirst : &kTenthsFirst;
            a = draw(factors->first, random);
            b = draw(factors->second, random);
            return accepted(type, a, b);
        },
        [&](int n, qint32 a, qint32 b) { writeProduct(store, n, a, b, *factors); });

    finishGeneration(store, *kind, random);
}

void generateMultiplicationTable(const TableRowSelection& selection, ProblemStore& store,
                                 RandomSource& random)
{
    const ProblemKind& kind = *findProblemKind(kMultiplicationTable, 0);
    store.slot[0].question = kind.title();
    // The choice window gives 0 or 1; anything else is kept within 0..9 so
    // that nine rows can never run past the last slot.
    const int lowest = std::clamp<qint32>(selection.lowestMultiplier, 0, 9);
    int n = 0;
    for (int row = 1; row <= 9; ++row) {
        if (!selection.rows[row - 1]) continue;
        for (int m = lowest; m <= 9; ++m) {
            ++n;
            TextBuffer().whole(row).bytes('x').whole(m).storeIn(store.slot[n].question);
            TextBuffer().whole(row * m).storeIn(store.slot[n].answer);
        }
    }
    store.count = n;
    finishGeneration(store, kind, random);
}

} // namespace numira
