// SPDX-License-Identifier: GPL-3.0-or-later
#include "numira/core/drill.h"

#include "common/drill_rules.h"
#include "numira/core/judge.h"
#include "records/model/fluency.h"

#include <algorithm>
#include <cstdint>

namespace numira {

bool Drill::chooseSet(const std::function<std::optional<ChosenSet>()>& ask)
{
    for (bool askedAgain = false;; askedAgain = true) {
        const std::optional<ChosenSet> chosen = ask();
        // The close box after a choice without rows ends the asking.
        if (!chosen && askedAgain) return false;
        const Choice& choice = chosen ? chosen->choice : m_choice;
        if (!choice.makesASet()) continue;
        if (chosen) {
            m_choice = chosen->choice;
            m_store.title = chosen->title;
            m_review = chosen->review;
            m_day = chosen->day;
        }
        if (m_choice.category == kReview)
            fillReview(m_review, m_store);
        else if (m_choice.category == kToday)
            fillDaySet(m_day, m_store);
        else // a category without a generator keeps the previous set
            m_generators.generate(m_choice, m_store);
        break;
    }
    m_warmingUp = warmUpDue();
    if (m_warmingUp) fillWarmUp(m_random, m_warmUp);
    startRun();
    return true;
}

// The records are asked once, at the first choice of facts to know by heart:
// the warm-up is given when they say the keying is not known yet, and
// nothing changes with records off or nobody known to play. The day's
// practice asks facts too, unless it is only a procedure kind's set.
bool Drill::warmUpDue()
{
    const bool recall =
        asksRecallFacts(m_choice) || (m_choice.category == kToday && !m_day.problems.isEmpty());
    if (m_warmUpSettled || !recall) return false;
    m_warmUpSettled = true;
    return m_records.keyingKnown() == false;
}

void Drill::startRun()
{
    if (m_countIsFixed && m_store.count > m_fixedCount) m_store.count = m_fixedCount;
    m_state.setChosen = true;
    startAgain();
}

void Drill::startAgain()
{
    restartRun();
    m_state.mascotShowing = true;
}

// What runs, from its first problem, as a set of its own in the records.
void Drill::restartRun()
{
    if (m_state.setChosen) m_log.setStarted(QStringLiteral("numira"), recordedChoice(), count());
    m_dayOutcome.reset();
    m_state.currentNumber = 1;
    m_state.firstTryCorrect = 0;
    m_state.onFirstTry = true;
    m_state.answerShown = false;
    m_state.finished = false;
}

Step Drill::showAnswerOrNext()
{
    RunState& s = m_state;
    if (!s.setChosen) return Step::kNone;
    if (!s.answerShown) {
        if (s.finished) return Step::kNone;
        s.mascotShowing = true;
        if (s.currentNumber > count()) {
            endRun();
            return Step::kEndedAtAnswer;
        }
        s.answerShown = true;
        s.onFirstTry = false;
        return Step::kAnswerShown;
    }
    // After the end, further clicks show the same end: the number neither
    // grows nor drops below the problems dealt with (a lowered count).
    if (!s.finished) ++s.currentNumber;
    if (s.currentNumber > count()) {
        if (!s.finished) endRun();
        // Past the warm-up's last number, the set's first problem.
        return s.finished ? Step::kEnded : Step::kNextProblem;
    }
    s.answerShown = false;
    s.onFirstTry = true;
    m_log.problemShown();
    return Step::kNextProblem;
}

bool Drill::keyPressed()
{
    if (m_state.mascotShowing || !m_state.returnArmed) return false;
    m_state.mascotShowing = true;
    return true;
}

std::optional<Judgement> Drill::returnPressed(QStringView typed)
{
    RunState& s = m_state;
    if (!s.returnArmed) return std::nullopt;
    s.returnArmed = false;
    if (!s.setChosen || s.finished) return std::nullopt;
    // An empty field is no answer: a second Return must not cost a point.
    if (isBlankAnswer(typed)) return std::nullopt;

    s.mascotShowing = false;
    const QString right = answer();
    const bool correct = judgeAnswer(right, typed, answersHaveRemainders());
    const QString fact =
        m_warmingUp ? common::records::keyFact(right.toInt()) : factKey(question());
    m_log.answered(s.currentNumber, fact, right, typed.toString(), correct, s.answerShown);
    if (!correct) {
        s.onFirstTry = false;
        return Judgement{Verdict::kWrong, false};
    }
    ++s.currentNumber;
    if (s.onFirstTry) ++s.firstTryCorrect;
    s.onFirstTry = true;
    s.answerShown = false;
    if (s.currentNumber > count())
        endRun();
    else
        m_log.problemShown();
    return Judgement{Verdict::kRight, s.finished};
}

QString Drill::recordedChoice() const
{
    if (m_warmingUp) return QString::fromUtf16(common::records::kKeyingChoice);
    if (m_choice.category == kToday) return m_day.choice();
    return choiceKey(m_choice);
}

// A review set and a day's set mix kinds: each of their answers says
// whether it has a remainder.
bool Drill::answersHaveRemainders() const
{
    if (m_warmingUp) return false;
    if (m_choice.category == kReview || m_choice.category == kToday)
        return answer().contains(QLatin1String("..."));
    return hasRemainder(m_choice.category, m_choice.number);
}

void Drill::endRun()
{
    m_log.setEnded(endScore());
    if (m_warmingUp) {
        // The chosen set starts; the last number's judgement stays on show.
        m_warmingUp = false;
        restartRun();
        return;
    }
    m_state.finished = true;
    // Written after its end, so that the records count this set in the day.
    if (m_choice.category == kToday) m_dayOutcome = m_records.dayFinished();
}

bool Drill::fixCount(int typed)
{
    m_fixedCount = common::clampProblemCount(typed);
    m_countIsFixed = true;
    if (m_store.count <= m_fixedCount) return false;
    m_store.count = m_fixedCount;
    return true;
}

void Drill::releaseCount()
{
    m_countIsFixed = false;
    m_store.count = static_cast<qint32>(
        std::clamp<std::int64_t>(readWhole(m_store.countText().text()), 0, kMaxProblems));
}

QString Drill::question() const
{
    return running().question(std::clamp(m_state.currentNumber, 1, kMaxProblems));
}

QString Drill::answer() const
{
    return running().answer(std::clamp(m_state.currentNumber, 1, kMaxProblems));
}

int Drill::score() const
{
    const int dealtWith = m_state.currentNumber - (m_state.onFirstTry ? 1 : 0);
    return common::firstTryPercent(m_state.firstTryCorrect, dealtWith);
}

// The score counts the problems really dealt with, so that a count lowered in
// the middle of a run cannot push it above 100.
int Drill::endScore() const
{
    return common::firstTryPercent(m_state.firstTryCorrect, m_state.currentNumber - 1);
}

QString factKey(const QString& question)
{
    QString fact;
    QString prefix = QStringLiteral("other:");
    for (const QChar c : question) {
        if (c.isSpace()) continue;
        switch (c.unicode()) {
        case u'+': prefix = QStringLiteral("add:"); break;
        case u'-': prefix = QStringLiteral("sub:"); break;
        case u'x': prefix = QStringLiteral("mul:"); break;
        case u'÷': prefix = QStringLiteral("div:"); break;
        }
        fact += c == u'÷' ? u'/' : c;
    }
    return prefix + fact;
}

QString choiceKey(const Choice& choice)
{
    static const char* const kPrefixes[] = {"add:", "sub:", "mul:", "div:"};
    if (choice.category == kReview) return QStringLiteral("review");
    if (choice.category == kToday) return QStringLiteral("today");
    if (choice.category == kMultiplicationTable) {
        QStringList rows;
        for (int row = 1; row <= 9; ++row)
            if (choice.tableRows.rows.at(row - 1)) rows << QString::number(row);
        return QStringLiteral("table:") + rows.join(u',') +
               (choice.tableRows.lowestMultiplier == 0 ? QStringLiteral("+0") : QString());
    }
    const bool listed = choice.category >= kAddition && choice.category <= kDivision;
    return QLatin1String(listed ? kPrefixes[choice.category] : "other:") +
           QString::number(choice.number);
}

void fillReview(const QList<common::ReviewProblem>& review, ProblemStore& store)
{
    store.count = static_cast<qint32>(std::min<qsizetype>(review.size(), kMaxProblems));
    store.countText() = QString::number(store.count);
    for (int k = 1; k <= store.count; ++k)
        store.setSlot(k, review.at(k - 1).question, review.at(k - 1).answer);
}

std::optional<Choice> choiceOfKind(const QString& key)
{
    for (const ProblemKind& kind : problemKinds()) {
        const Choice choice{kind.category, kind.number, {}};
        if (kind.category != kMultiplicationTable && choiceKey(choice) == key) return choice;
    }
    return std::nullopt;
}

void fillDaySet(const common::DaySet& day, ProblemStore& store)
{
    fillReview(day.problems, store);
    const std::optional<Choice> kind = choiceOfKind(day.procedureKind);
    if (kind && day.procedureCount > 0 && store.count < kMaxProblems) {
        common::FixedSeedRandomSource random(day.seed);
        ProblemGenerators generators(random);
        ProblemStore made;
        generators.generate(*kind, made);
        const int taken =
            std::min({day.procedureCount, int(made.count), kMaxProblems - store.count});
        for (int k = 1; k <= taken; ++k)
            store.setSlot(store.count + k, made.question(k), made.answer(k));
        store.count += taken;
    }
    store.countText() = QString::number(store.count);
}

int daySetSize(const common::DaySet& day)
{
    ProblemStore store;
    fillDaySet(day, store);
    return store.count;
}

QString stepName(const QString& step)
{
    const QString row = step.section(u':', 1);
    if (step.startsWith(QLatin1String("table:"))) return row + QStringLiteral("のだん");
    if (step.startsWith(QLatin1String("divrow:"))) return row + QStringLiteral("のだんのわりざん");
    if (const std::optional<Choice> kind = choiceOfKind(step))
        return cataloguePages().at(kind->category) + QString::number(kind->number + 1);
    return step;
}

// One step by its name; several (placement passes a few at once) by the
// last of them, "as far as".
QString dayMessage(const common::DayOutcome& outcome)
{
    QString passed;
    if (!outcome.passed.isEmpty())
        passed = stepName(outcome.passed.last()) +
                 (outcome.passed.size() > 1 ? QStringLiteral("まで") : QString()) +
                 QStringLiteral(" ごうかく！");
    if (!outcome.markEarned) return passed;
    return passed.isEmpty() ? QStringLiteral("きょうのはなまる！")
                            : QStringLiteral("はなまる！ ") + passed;
}

void fillWarmUp(RandomSource& random, ProblemStore& store)
{
    store.title = QStringLiteral("じゅんびうんどう");
    store.count = kWarmUpNumbers;
    store.countText() = QString::number(kWarmUpNumbers);
    for (int k = 1; k <= kWarmUpNumbers; ++k) {
        // One digit and two in turn: the keying of both lengths of answer.
        const QString number =
            QString::number(k % 2 ? 1 + random.uniform(9) : 10 + random.uniform(90));
        store.setSlot(k, number, number);
    }
}

common::Worksheet makeWorksheet(const ProblemStore& store)
{
    common::Worksheet sheet{QStringLiteral("ＭＳゴシック"), 20, {}, {}};
    for (int i = 1; i <= std::min<int>(store.count, kMaxProblems); ++i) {
        sheet.problems << store.question(i) + QStringLiteral(" =");
        sheet.answers << store.question(i) + QStringLiteral(" =") + store.answer(i);
    }
    return sheet;
}

} // namespace numira
