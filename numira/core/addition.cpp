// SPDX-License-Identifier: GPL-3.0-or-later
#include "numira/core/addition.h"

#include "numira/core/generators.h"

namespace numira {

namespace {

void writeSum(Slot& slot, qint64 a, qint64 b, int fractionDigits)
{
    TextBuffer()
        .decimal(a, fractionDigits)
        .bytes('+')
        .decimal(b, fractionDigits)
        .storeIn(slot.question);
    TextBuffer().decimal(a + b, fractionDigits).storeIn(slot.answer);
}

// Types 0 and 1: every pair of one-digit numbers that the test accepts,
// a ascending then b ascending.
template <typename Accept> void enumerate(ProblemStore& store, Accept accept)
{
    store.count = 0;
    for (int a = 1; a <= 9; ++a)
        for (int b = 1; b <= 9; ++b)
            if (accept(a, b)) {
                ++store.count;
                writeSum(store.slot[store.count], a, b, 0);
            }
}

bool noCarry(int a, int b, int divisor) { return (a / divisor) % 10 + (b / divisor) % 10 <= 9; }

} // namespace

void generateAddition(int number, ProblemStore& store, UsedPairs& used, RandomSource& random)
{
    const ProblemKind* kind = beginGeneration(kAddition, number, used, random);
    if (!kind) return;

    // Random types draw a then b from 0..range-1 (plus `offset`), test the
    // pair, and write it with `digits` fraction digits.
    auto randomSet = [&](int range, int offset, int digits, auto accept) {
        drawDistinctPairs(
            store, used, kMaxProblems,
            [&](qint32& a, qint32& b) {
                a = random.uniform(range) + offset;
                b = random.uniform(range) + offset;
                return accept(a, b);
            },
            [&](int n, qint32 a, qint32 b) { writeSum(store.slot[n], a, b, digits); });
    };

    switch (static_cast<AdditionType>(number)) {
    case AdditionType::kSumsToTen:
        enumerate(store, [](int a, int b) { return a + b <= 10; });
        break;
    case AdditionType::kOneDigitCarry:
        enumerate(store, [](int a, int b) { return a + b >= 11; });
        break;
    case AdditionType::kSumsToTwenty:
        randomSet(19, 1, 0, [](int a, int b) { return a + b <= 20; });
        break;
    case AdditionType::kToHundredNoCarry:
        randomSet(101, 0, 0, [](int a, int b) { return a + b <= 100 && noCarry(a, b, 1); });
        break;
    case AdditionType::kToHundred:
        randomSet(101, 0, 0, [](int a, int b) { return a + b <= 100; });
        break;
    case AdditionType::kToThousandNoCarry:
        randomSet(1001, 0, 0, [](int a, int b) {
            return a + b <= 1000 && noCarry(a, b, 1) && noCarry(a, b, 10);
        });
        break;
    case AdditionType::kToThousand:
        randomSet(1001, 0, 0, [](int a, int b) { return a + b <= 1000; });
        break;
    case AdditionType::kTenths: randomSet(100, 0, 1, [](int, int) { return true; }); break;
    case AdditionType::kHundredths: randomSet(1000, 0, 2, [](int, int) { return true; }); break;
    }

    finishGeneration(store, *kind, random);
}

} // namespace numira
