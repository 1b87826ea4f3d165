// SPDX-License-Identifier: GPL-3.0-or-later
#include "numira/core/subtraction.h"

#include "numira/core/generators.h"

namespace numira {

namespace {

void writeDifference(ProblemStore& store, int n, qint64 a, qint64 b, int fractionDigits)
{
    TextBuffer()
        .decimal(a, fractionDigits)
        .bytes('-')
        .decimal(b, fractionDigits)
        .storeIn(store.slot[n].question);
    TextBuffer().decimal(a - b, fractionDigits).storeIn(store.slot[n].answer);
}

// No digit of b, in the lowest `places` places, above the same digit of a;
// with b <= a this leaves no borrow anywhere.
bool noBorrow(int a, int b, int places)
{
    for (int place = 1; places > 0; --places, place *= 10)
        if ((b / place) % 10 > (a / place) % 10) return false;
    return true;
}

} // namespace

void generateSubtraction(int number, ProblemStore& store, UsedPairs& used, RandomSource& random)
{
    const ProblemKind* kind = beginGeneration(kSubtraction, number, used, random);
    if (!kind) return;

    // Drawn types: a from 0..rangeA-1 plus offsetA, then b from 0..rangeB-1,
    // written with `digits` fraction digits.
    auto randomSet = [&](int setSize, int rangeA, int offsetA, int rangeB, int digits,
                         auto accept) {
        drawDistinctPairs(
            store, used, setSize,
            [&](qint32& a, qint32& b) {
                a = random.uniform(rangeA) + offsetA;
                b = random.uniform(rangeB);
                return accept(a, b);
            },
            [&](int n, qint32 a, qint32 b) { writeDifference(store, n, a, b, digits); });
    };
    const auto notAbove = [](int a, int b) { return b <= a; };

    switch (static_cast<SubtractionType>(number)) {
    case SubtractionType::kWithinTen:
        // Every a - b with 1 <= b <= a <= 10, a ascending then b.
        store.count = 0;
        for (int a = 1; a <= 10; ++a)
            for (int b = 1; b <= a; ++b) writeDifference(store, ++store.count, a, b, 0);
        break;
    case SubtractionType::kTeensBorrow:
        // Exactly the 45 borrowing problems 10..18 minus one digit, all of them.
        randomSet(45, 19, 1, 10, 0, [](int a, int b) { return b < a && b > a % 10; });
        break;
    case SubtractionType::kFromTwenty: randomSet(kMaxProblems, 20, 1, 20, 0, notAbove); break;
    case SubtractionType::kFromHundredNoBorrow:
        randomSet(kMaxProblems, 100, 1, 101, 0,
                  [](int a, int b) { return b <= a && noBorrow(a, b, 2); });
        break;
    case SubtractionType::kFromHundred: randomSet(kMaxProblems, 100, 1, 101, 0, notAbove); break;
    case SubtractionType::kFromThousandNoBorrow:
        randomSet(kMaxProblems, 1000, 1, 1001, 0,
                  [](int a, int b) { return b <= a && noBorrow(a, b, 3); });
        break;
    case SubtractionType::kFromThousand: randomSet(kMaxProblems, 1000, 1, 1001, 0, notAbove); break;
    case SubtractionType::kTenths: randomSet(kMaxProblems, 100, 0, 100, 1, notAbove); break;
    case SubtractionType::kHundredths: randomSet(kMaxProblems, 1000, 1, 1000, 2, notAbove); break;
    }

    finishGeneration(store, *kind, random);
}

} // namespace numira
