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

// The drawn types 1..9 by number (index 0 unused: kTableOnce is enumerated).
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

    drawDistinctPairs(
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

void generateDivision(int number, ProblemStore& store, UsedPairs& used, RandomSource& random)
{
    const ProblemKind* kind = beginGeneration(kDivision, number, used, random);
    if (!kind) return;

    const auto type = static_cast<DivisionType>(number);
    if (type == DivisionType::kTableOnce) {
        // Every table division (divisor x quotient) / divisor, divisor then quotient
        // from 1 to 9.
        store.count = 0;
        for (int divisor = 1; divisor <= 9; ++divisor)
            for (int quotient = 1; quotient <= 9; ++quotient) {
                Slot& slot = store.slot[++store.count];
                questionText(divisor * quotient, 0, divisor, 0).storeIn(slot.question);
                TextBuffer().whole(quotient).storeIn(slot.answer);
            }
    } else if (type == DivisionType::kTableWithRemainder) {
        // One problem for every quotient 0..9 and divisor 1..9, with a random
        // remainder below the divisor (none by 1). The enumeration cannot
        // repeat a pair, so the pairs are only recorded.
        store.count = 0;
        for (int quotient = 0; quotient <= 9; ++quotient)
            for (int divisor = 1; divisor <= 9; ++divisor) {
                const int remainder = divisor == 1 ? 0 : random.uniform(divisor - 1) + 1;
                const int n = ++store.count;
                used.store(n, quotient * divisor + remainder, divisor);
                questionText(quotient * divisor + remainder, 0, divisor, 0)
                    .storeIn(store.slot[n].question);
                storeRemainderAnswer(store.slot[n].answer, quotient, remainder);
            }
    } else {
        drawnSet(kDrawn[number], kind->hasRemainder, store, used, random);
    }

    finishGeneration(store, *kind, random);
}

} // namespace numira
