// SPDX-License-Identifier: GPL-3.0-or-later
#include "bairo/core/drill.h"

#include "common/drill_rules.h"
#include "common/random_source.h"
#include "common/whole_number.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace bairo {

namespace {

// The numbers of an LCM problem are drawn from 1..range.
constexpr int kLcmRangeEasy = 12;
constexpr int kLcmRangeHard = 60;

// A GCD problem is a common factor times two cofactors, each drawn from 1..range.
struct GcdRanges {
    int factor;
    int cofactor;
};
constexpr GcdRanges kGcdEasy{9, 10};
constexpr GcdRanges kGcdHard{20, 20};

// A draw in 1..n.
int draw(common::RandomSource& random, int n) { return random.uniform(n) + 1; }

} // namespace

int leastCommonMultiple(int first, int second)
{
    const int big = std::max(first, second);
    const int small = std::min(first, second);
    // Ends at the latest with k = small, where big × small is a multiple of both.
    for (int k = 1;; ++k) {
        const int m = big * k;
        if (m % small == 0) return m;
    }
}

int greatestCommonDivisor(int first, int second)
{
    int big = std::max(first, second);
    int small = std::min(first, second);
    for (int r = big % small; r > 0; r = big % small) {
        big = small;
        small = r;
    }
    return small;
}

const QString& kindWord(int kind) { return kind == 0 ? text::kLcmWord : text::kGcdWord; }

const QString& verdictMessage(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Right: return text::kRight;
    case Verdict::SmallerMultiple: return text::kSmallerMultiple;
    case Verdict::LargerDivisor: return text::kLargerDivisor;
    case Verdict::Wrong: break;
    }
    return text::kWrong;
}

std::optional<int> readAnswer(QStringView typed)
{
    if (typed.trimmed().isEmpty()) return std::nullopt;
    const common::LeadingWhole number = common::scanLeadingWhole(typed);
    // Digits are taken while the value stays in range: the magnitude may
    // reach 2^31 only with a minus sign.
    const std::int64_t limit =
        std::int64_t{std::numeric_limits<int>::max()} + (number.negative ? 1 : 0);
    std::int64_t magnitude = 0;
    for (const QChar c : number.digits) {
        const std::int64_t next = magnitude * 10 + (c.unicode() - u'0');
        if (next > limit) break;
        magnitude = next;
    }
    return static_cast<int>(number.negative ? -magnitude : magnitude);
}

void DrillState::start(int kind, int level)
{
    problemKind = kind;
    problemLevel = level;
    score = 0;
    firstTry = true;
    questionNo = 0;
    correctCount = 0;
    previousFirst = 0;
    previousSecond = 0;
}

void DrillState::newProblem(common::RandomSource& random)
{
    if (!printing) random.reseedFromClock();
    Problem& p = currentProblem;
    if (problemKind == 0) {
        const int range = problemLevel == 0 ? kLcmRangeEasy : kLcmRangeHard;
        // Only the exact ordered pair of the problem before is refused.
        do {
            p.first = draw(random, range);
            p.second = draw(random, range);
        } while (p.first == previousFirst && p.second == previousSecond);
        p.answer = leastCommonMultiple(p.first, p.second);
    } else {
        const GcdRanges& ranges = problemLevel == 0 ? kGcdEasy : kGcdHard;
        const int f = draw(random, ranges.factor);
        const int a = draw(random, ranges.cofactor);
        const int b = draw(random, ranges.cofactor);
        p.first = f * a;
        p.second = f * b;
        // A repeat is drawn again from the easy ranges, whatever the level.
        while (p.first == previousFirst && p.second == previousSecond) {
            const int f2 = draw(random, kGcdEasy.factor);
            const int a2 = draw(random, kGcdEasy.cofactor);
            const int b2 = draw(random, kGcdEasy.cofactor);
            p.first = f2 * a2;
            p.second = f2 * b2;
        }
        p.answer = greatestCommonDivisor(p.first, p.second);
    }
    previousFirst = p.first;
    previousSecond = p.second;
    firstTry = true;
    answerShown = false;
    ++questionNo;
}

Verdict DrillState::check(int value) const
{
    const Problem& p = currentProblem;
    if (value == p.answer) return Verdict::Right;
    if (problemKind == 0) {
        // Zero and negative multiples count as common multiples too.
        if (p.answer != 0 && value % p.answer == 0) return Verdict::SmallerMultiple;
        return Verdict::Wrong;
    }
    // Zero cannot be tried as a divisor.
    if (value != 0 && p.first % value == 0 && p.second % value == 0) return Verdict::LargerDivisor;
    return Verdict::Wrong;
}

std::optional<Judgement> DrillState::returnPressed(QStringView typed)
{
    if (!returnArmed || questionNo < 1) return std::nullopt;
    const std::optional<int> value = readAnswer(typed);
    if (!value) return std::nullopt;
    returnArmed = false;

    Judgement j;
    j.verdict = check(*value);
    if (j.verdict == Verdict::Right) {
        if (firstTry) {
            ++correctCount;
            score = currentScore();
            j.scored = true;
        }
        j.finished = questionNo >= setSize;
    } else {
        firstTry = false;
        score = currentScore();
    }
    return j;
}

bool DrillState::showAnswer()
{
    answerShown = true;
    firstTry = false;
    return questionNo >= setSize;
}

int DrillState::finishSet()
{
    score = currentScore();
    questionNo = 1;
    correctCount = 0;
    return score;
}

void DrillState::releaseSetSize()
{
    setSize = kMaxSetSize;
    setSizeFixed = false;
}

void DrillState::fixSetSize(int count)
{
    setSize = common::clampProblemCount(count);
    setSizeFixed = true;
}

int DrillState::currentScore() const { return common::firstTryPercent(correctCount, questionNo); }

} // namespace bairo
