// SPDX-License-Identifier: GPL-3.0-or-later
#include "numira/core/division.h"

#include "common/short_string.h"
#include "numira/core/generators.h"

#include <algorithm>

namespace numira {

namespace {

// A drawn type: the dividend is a draw 0..dividendRange-1 plus 1, the divisor
// a draw 0..divisorRange-1 plus divisorOffset, each held as a whole count of
// its places (0 whole, 1 tenths, 2 hundredths). A decimal operand that ends
// in 0 is refused.
struct DrawnKind {
    int dividendRange;
    int dividendPlaces;
    int divisorRange;
    int divisorOffset;
    int divisorPlaces;
};

// Types 1..9 (index 0 unused: type 0 is enumerated).
constexpr DrawnKind kDrawn[] = {
    {},
    {100, 0, 9, 1, 0},
    {1000, 0, 9, 1, 0},
    {1000, 0, 89, 10, 0},
    {100, 0, 9, 1, 0},
    {200, 0, 99, 1, 0},
    {1000, 1, 9, 1, 0},
    {100, 0, 98, 1, 1},
    {1000, 1, 98, 1, 1},
    {999, 2, 98, 1, 1},
};

int powerOfTen(int exponent)
{
    int p = 1;
    while (exponent-- > 0) p *= 10;
    return p;
}

// The Shift-JIS division sign, encoded once.
const QByteArray& divisionSign()
{
    static const QByteArray sign = common::toShiftJis(QStringView(u"÷"));
    return sign;
}

TextBuffer questionText(qint64 dividend, int dividendPlaces, qint64 divisor, int divisorPlaces)
{
    TextBuffer text;
    text.decimal(dividend, dividendPlaces).bytes(divisionSign()).decimal(divisor, divisorPlaces);
    return text;
}

// Quotient "..." remainder.
void storeRemainderAnswer(ProblemText& field, qint64 quotient, qint64 remainder)
{
    TextBuffer().whole(quotient).bytes("...").whole(remainder).storeIn(field);
}

// With a remainder, the answer is quotient "..." remainder and the divisor
// must not exceed the dividend.
void drawnSet(const DrawnKind& kind, bool withRemainder, ProblemStore& store, UsedPairs& used,
              RandomSource& random)
{
    // Both operands are brought to the same unit before dividing: a whole
    // dividend over a tenths divisor counts in tenths (12 / 0.4 as 120 / 4).
    // What the divisor's places leave over gives the quotient's places.
    const int dividendScale = powerOfTen(std::max(0, kind.divisorPlaces - kind.dividendPlaces));
    const int quotientPlaces = std::max(0, kind.dividendPlaces - kind.divisorPlaces);

    DrawDistinctPairs(
        store, used, kMaxProblems,
        [&](qint32& dividend, qint32& divisor) {
            // Each condition is tested as soon as its values are drawn.
            dividend = random.uniform(kind.dividendRange) + 1;
            if (kind.dividendPlaces > 0 && dividend % 10 == 0) return false;
            divisor = random.uniform(kind.divisorRange) + kind.divisorOffset;
            if (kind.divisorPlaces > 0 && divisor % 10 == 0) return false;
            const int remainder = dividend * dividendScale % divisor;
            if (withRemainder) return remainder != 0 && divisor <= dividend;
            return remainder == 0;
        },
        [&](int n, qint32 dividend, qint32 divisor) {
            Slot& slot = store.slot[n];
            questionText(dividend, kind.dividendPlaces, divisor, kind.divisorPlaces)
                .storeIn(slot.question);
            const int quotient = dividend * dividendScale / divisor;
            if (withRemainder)
                storeRemainderAnswer(slot.answer, quotient, dividend % divisor);
            else
                TextBuffer().decimal(quotient, quotientPlaces).storeIn(slot.answer);
        });
}

} // namespace

void GenerateDivision(int number, ProblemStore& store, UsedPairs& used, RandomSource& random)
{
    const ProblemKind* kind = BeginGeneration(kDivision, number, used, random);
    if (!kind) return;

    if (number == 0) {
        // Every table division d*q / d, for d then q from 1 to 9.
        store.count = 0;
        for (int d = 1; d <= 9; ++d)
            for (int q = 1; q <= 9; ++q) {
                Slot& slot = store.slot[++store.count];
                questionText(d * q, 0, d, 0).storeIn(slot.question);
                TextBuffer().whole(q).storeIn(slot.answer);
            }
    } else if (number == 10) {
        // One problem for every quotient 0..9 and divisor 1..9, with a random
        // remainder below the divisor (none by 1). The enumeration cannot
        // repeat a pair, so the pairs are only recorded.
        store.count = 0;
        for (int q = 0; q <= 9; ++q)
            for (int d = 1; d <= 9; ++d) {
                const int r = d == 1 ? 0 : random.uniform(d - 1) + 1;
                const int n = ++store.count;
                used.store(n, q * d + r, d);
                questionText(q * d + r, 0, d, 0).storeIn(store.slot[n].question);
                storeRemainderAnswer(store.slot[n].answer, q, r);
            }
    } else {
        drawnSet(kDrawn[number], kind->hasRemainder, store, used, random);
    }

    FinishGeneration(store, *kind, random);
}

} // namespace numira
