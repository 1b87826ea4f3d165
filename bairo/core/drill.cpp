#include "bairo/core/drill.h"

#include "common/random_source.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace bairo {

namespace {

// A draw in 1..n.
int draw(common::RandomSource& random, int n)
{
    return random.uniform(n) + 1;
}

bool isAsciiBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

int LeastCommonMultiple(int first, int second)
{
    const int big = std::max(first, second);
    const int small = std::min(first, second);
    // Ends at the latest with k = small, where big × small is a multiple of both.
    for (int k = 1;; ++k) {
        const int m = big * k;
        if (m % small == 0) return m;
    }
}

int GreatestCommonDivisor(int first, int second)
{
    int big = std::max(first, second);
    int small = std::min(first, second);
    for (int r = big % small; r > 0; r = big % small) {
        big = small;
        small = r;
    }
    return small;
}

const QString& KindWord(int kind)
{
    return kind == 0 ? text::LcmWord : text::GcdWord;
}

const QString& VerdictMessage(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Right:
        return text::Right;
    case Verdict::SmallerMultiple:
        return text::SmallerMultiple;
    case Verdict::LargerDivisor:
        return text::LargerDivisor;
    case Verdict::Wrong:
        break;
    }
    return text::Wrong;
}

std::optional<int> ReadAnswer(QStringView typed)
{
    if (typed.trimmed().isEmpty()) return std::nullopt;
    qsizetype i = 0;
    while (i < typed.size() && isAsciiBlank(typed[i])) ++i;
    bool negative = false;
    if (i < typed.size() && (typed[i] == u'-' || typed[i] == u'+')) {
        negative = typed[i] == u'-';
        ++i;
    }
    // The magnitude may reach 2^31 only with a minus sign.
    const std::int64_t limit = std::int64_t{std::numeric_limits<int>::max()} + (negative ? 1 : 0);
    std::int64_t magnitude = 0;
    for (; i < typed.size() && isAsciiDigit(typed[i]); ++i) {
        const std::int64_t next = magnitude * 10 + (typed[i].unicode() - u'0');
        if (next > limit) break;
        magnitude = next;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

void DrillState::Start(int kind, int level)
{
    ProblemKind = kind;
    ProblemLevel = level;
    Score = 0;
    FirstTry = true;
    QuestionNo = 0;
    CorrectCount = 0;
    PreviousFirst = 0;
    PreviousSecond = 0;
}

void DrillState::NewProblem(common::RandomSource& random)
{
    if (!Printing) random.reseedFromClock();
    Problem& p = CurrentProblem;
    if (ProblemKind == 0) {
        const int range = ProblemLevel == 0 ? 12 : 60;
        // Only the exact ordered pair of the problem before is refused.
        do {
            p.First = draw(random, range);
            p.Second = draw(random, range);
        } while (p.First == PreviousFirst && p.Second == PreviousSecond);
        p.Answer = LeastCommonMultiple(p.First, p.Second);
    } else {
        const bool hard = ProblemLevel != 0;
        const int f = draw(random, hard ? 20 : 9);
        const int a = draw(random, hard ? 20 : 10);
        const int b = draw(random, hard ? 20 : 10);
        p.First = f * a;
        p.Second = f * b;
        // A repeat is drawn again from the easy ranges, whatever the level.
        while (p.First == PreviousFirst && p.Second == PreviousSecond) {
            const int f2 = draw(random, 9);
            const int a2 = draw(random, 10);
            const int b2 = draw(random, 10);
            p.First = f2 * a2;
            p.Second = f2 * b2;
        }
        p.Answer = GreatestCommonDivisor(p.First, p.Second);
    }
    PreviousFirst = p.First;
    PreviousSecond = p.Second;
    FirstTry = true;
    AnswerShown = false;
    ++QuestionNo;
}

Verdict DrillState::Check(int value) const
{
    const Problem& p = CurrentProblem;
    if (value == p.Answer) return Verdict::Right;
    if (ProblemKind == 0) {
        // Zero and negative multiples count as common multiples too.
        if (p.Answer != 0 && value % p.Answer == 0) return Verdict::SmallerMultiple;
        return Verdict::Wrong;
    }
    // Zero cannot be tried as a divisor.
    if (value != 0 && p.First % value == 0 && p.Second % value == 0) return Verdict::LargerDivisor;
    return Verdict::Wrong;
}

std::optional<Judgement> DrillState::ReturnPressed(QStringView typed)
{
    if (!ReturnArmed || QuestionNo < 1) return std::nullopt;
    const std::optional<int> value = ReadAnswer(typed);
    if (!value) return std::nullopt;
    ReturnArmed = false;

    Judgement j;
    j.verdict = Check(*value);
    if (j.verdict == Verdict::Right) {
        if (FirstTry) {
            ++CorrectCount;
            Score = CurrentScore();
            j.scored = true;
        }
        j.finished = QuestionNo >= SetSize;
    } else {
        FirstTry = false;
        Score = CurrentScore();
    }
    return j;
}

bool DrillState::ShowAnswer()
{
    AnswerShown = true;
    FirstTry = false;
    return QuestionNo >= SetSize;
}

int DrillState::FinishSet()
{
    Score = CurrentScore();
    QuestionNo = 1;
    CorrectCount = 0;
    return Score;
}

void DrillState::ReleaseSetSize()
{
    SetSize = MaxSetSize;
    SetSizeFixed = false;
}

void DrillState::FixSetSize(int count)
{
    SetSize = std::clamp(count, 1, MaxSetSize);
    SetSizeFixed = true;
}

int DrillState::CurrentScore() const
{
    return QuestionNo > 0 ? CorrectCount * 100 / QuestionNo : 0;
}

} // namespace bairo
