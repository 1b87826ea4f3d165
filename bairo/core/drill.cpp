// SPDX-License-Identifier: GPL-3.0-or-later
#include "bairo/core/drill.h"

#include "bairo/core/sheet.h"
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

const QString& kindWord(Kind kind)
{
    static const QString lcm = QStringLiteral("最小公倍数");
    static const QString gcd = QStringLiteral("最大公約数");
    return kind == Kind::kLcm ? lcm : gcd;
}

Problem drawProblem(Kind kind, Level level, common::RandomSource& random, const Problem& before)
{
    Problem p;
    const auto repeats = [&] { return p.first == before.first && p.second == before.second; };
    if (kind == Kind::kLcm) {
        const int range = level == Level::kEasy ? kLcmRangeEasy : kLcmRangeHard;
        // Only the exact ordered pair of the problem before is refused.
        do {
            p.first = draw(random, range);
            p.second = draw(random, range);
        } while (repeats());
        p.answer = leastCommonMultiple(p.first, p.second);
        return p;
    }
    const GcdRanges& ranges = level == Level::kEasy ? kGcdEasy : kGcdHard;
    const int factor = draw(random, ranges.factor);
    const int firstCofactor = draw(random, ranges.cofactor);
    const int secondCofactor = draw(random, ranges.cofactor);
    p.first = factor * firstCofactor;
    p.second = factor * secondCofactor;
    // A repeat is drawn again from the easy ranges, whatever the level.
    while (repeats()) {
        const int redrawnFactor = draw(random, kGcdEasy.factor);
        const int redrawnFirstCofactor = draw(random, kGcdEasy.cofactor);
        const int redrawnSecondCofactor = draw(random, kGcdEasy.cofactor);
        p.first = redrawnFactor * redrawnFirstCofactor;
        p.second = redrawnFactor * redrawnSecondCofactor;
    }
    p.answer = greatestCommonDivisor(p.first, p.second);
    return p;
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

QString factKey(Kind kind, const Problem& problem)
{
    return (kind == Kind::kLcm ? QStringLiteral("lcm:") : QStringLiteral("gcd:")) +
           QString::number(problem.first) + u',' + QString::number(problem.second);
}

QString choiceKey(Kind kind, Level level)
{
    return (kind == Kind::kLcm ? QStringLiteral("lcm:") : QStringLiteral("gcd:")) +
           (level == Level::kEasy ? QStringLiteral("easy") : QStringLiteral("hard"));
}

std::optional<Pair> parseFactKey(QStringView fact)
{
    const bool lcm = fact.startsWith(u"lcm:");
    if (!lcm && !fact.startsWith(u"gcd:")) return std::nullopt;
    const QList<QStringView> numbers = fact.mid(4).split(u',');
    if (numbers.size() != 2) return std::nullopt;
    // No level draws a number above the hard GCD's factor times cofactor.
    constexpr int kLargest = kGcdHard.factor * kGcdHard.cofactor;
    Pair pair{lcm ? Kind::kLcm : Kind::kGcd, {}};
    bool firstRead = false, secondRead = false;
    pair.problem.first = numbers[0].toInt(&firstRead);
    pair.problem.second = numbers[1].toInt(&secondRead);
    if (!firstRead || !secondRead) return std::nullopt;
    for (const int n : {pair.problem.first, pair.problem.second})
        if (n < 1 || n > kLargest) return std::nullopt;
    pair.problem.answer = lcm ? leastCommonMultiple(pair.problem.first, pair.problem.second)
                              : greatestCommonDivisor(pair.problem.first, pair.problem.second);
    return pair;
}

void Drill::start()
{
    m_review.clear();
    beginSet(choiceKey(m_kind, m_level));
}

bool Drill::startReview(const QList<common::ReviewProblem>& review)
{
    QList<Pair> pairs;
    for (const common::ReviewProblem& p : review)
        if (const std::optional<Pair> pair = parseFactKey(p.fact)) pairs.append(*pair);
    if (pairs.isEmpty()) return false;
    m_review = std::move(pairs);
    beginSet(QStringLiteral("review"));
    return true;
}

int Drill::setSize() const
{
    if (m_review.isEmpty()) return m_count;
    const int pairs = int(std::min<qsizetype>(m_review.size(), common::kMaxProblems));
    return m_countIsFixed ? std::min(pairs, m_count) : pairs;
}

void Drill::beginSet(const QString& choice)
{
    m_log.setStarted(QStringLiteral("bairo"), choice, setSize());
    m_score = 0;
    m_state.onFirstTry = true;
    m_state.currentNumber = 0;
    m_state.firstTryCorrect = 0;
    // A new set may begin with the pair on show.
    newProblem({});
}

void Drill::newProblem(const Problem& before)
{
    if (m_state.currentNumber < m_review.size()) {
        const Pair& pair = m_review.at(m_state.currentNumber);
        m_problem = pair.problem;
        m_pairKind = pair.kind;
    } else {
        // Every problem of the drill comes from a fresh seeding.
        m_random.reseedFromClock();
        m_problem = drawProblem(m_kind, m_level, m_random, before);
        m_pairKind.reset();
    }
    m_state.onFirstTry = true;
    m_state.answerShown = false;
    ++m_state.currentNumber;
    m_log.problemShown();
}

Step Drill::showAnswerOrNext()
{
    RunState& s = m_state;
    if (s.answerShown) {
        newProblem(m_problem);
        return Step::kNextProblem;
    }
    s.answerShown = true;
    s.onFirstTry = false;
    if (s.currentNumber >= setSize()) {
        finishSet();
        return Step::kEndedAtAnswer;
    }
    s.mascotShowing = true;
    return Step::kAnswerShown;
}

bool Drill::keyPressed()
{
    if (m_state.mascotShowing) return false;
    m_state.mascotShowing = true;
    return true;
}

Verdict Drill::check(int value) const
{
    const Problem& p = m_problem;
    if (value == p.answer) return Verdict::kRight;
    if (problemKind() == Kind::kLcm) {
        // Zero and negative multiples count as common multiples too.
        if (p.answer != 0 && value % p.answer == 0) return Verdict::kSmallerMultiple;
        return Verdict::kWrong;
    }
    // Zero cannot be tried as a divisor.
    if (value != 0 && p.first % value == 0 && p.second % value == 0) return Verdict::kLargerDivisor;
    return Verdict::kWrong;
}

std::optional<Judgement> Drill::returnPressed(QStringView typed)
{
    RunState& s = m_state;
    if (!s.returnArmed || s.currentNumber < 1) return std::nullopt;
    const std::optional<int> value = readAnswer(typed);
    if (!value) return std::nullopt;
    s.returnArmed = false;
    s.mascotShowing = false;

    Judgement j;
    j.verdict = check(*value);
    const QString hint = j.verdict == Verdict::kSmallerMultiple ? QStringLiteral("smaller-multiple")
                         : j.verdict == Verdict::kLargerDivisor ? QStringLiteral("larger-divisor")
                                                                : QString();
    m_log.answered(s.currentNumber, factKey(problemKind(), m_problem),
                   QString::number(m_problem.answer), typed.toString(),
                   j.verdict == Verdict::kRight, s.answerShown, hint);
    if (j.verdict != Verdict::kRight) {
        s.onFirstTry = false;
        m_score = common::firstTryPercent(s.firstTryCorrect, s.currentNumber);
        return j;
    }
    if (s.onFirstTry) {
        ++s.firstTryCorrect;
        m_score = common::firstTryPercent(s.firstTryCorrect, s.currentNumber);
        j.scored = true;
    }
    j.finished = s.currentNumber >= setSize();
    if (j.finished)
        finishSet();
    else
        newProblem(m_problem);
    return j;
}

// The final score; the counters are left for going on, as problem 1.
void Drill::finishSet()
{
    m_score = common::firstTryPercent(m_state.firstTryCorrect, m_state.currentNumber);
    m_state.currentNumber = 1;
    m_state.firstTryCorrect = 0;
    // The drill goes on: what follows is the next set, drawn again after
    // a review.
    m_log.setEnded(m_score);
    m_review.clear();
    m_log.setStarted(QStringLiteral("bairo"), choiceKey(m_kind, m_level), m_count);
}

void Drill::fixCount(int typed)
{
    m_count = common::clampProblemCount(typed);
    m_countIsFixed = true;
}

void Drill::releaseCount()
{
    m_count = common::kMaxProblems;
    m_countIsFixed = false;
}

common::Worksheet Drill::worksheet() const
{
    if (m_review.isEmpty()) return makeWorksheet(m_kind, m_level, m_count, m_random, m_problem);
    // A review prints its own pairs, each by its own kind, as many as it drills.
    common::Worksheet sheet = makeWorksheet(m_kind, m_level, 0, m_random);
    for (const Pair& pair : m_review.first(setSize())) {
        sheet.problems << sheetQuestion(pair.problem, pair.kind);
        sheet.answers << sheetAnswer(pair.problem, pair.kind);
    }
    return sheet;
}

void Drill::sheetPrinted()
{
    if (m_review.isEmpty())
        start();
    else
        beginSet(QStringLiteral("review"));
}

} // namespace bairo
