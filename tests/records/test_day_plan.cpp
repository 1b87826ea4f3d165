// SPDX-License-Identifier: GPL-3.0-or-later
// The day's practice: the path's steps and their facts, and a simulated
// child's days: what comes back, what is new, moving on, and placement.
#include "records/model/day_plan.h"
#include "records/model/fluency.h"

#include <QRegularExpression>
#include <QTest>

using namespace common;
using namespace common::records;

namespace {

// A simulated child: the steps it knows from the start (right and quick at
// once); any other fact it misses at its first meetings, a few by the key,
// and some stay slow for a while. A kind worked through that it does not
// know scores half at its first set, all after.
struct SimFact {
    QList<FirstTry> latest;
    QDateTime lastMissed;
    int box = 0;
};

struct SimChild {
    QSet<QString> known; // steps and facts
    QHash<QString, SimFact> facts;
    PlanInput input;
    int problems = 0;

    SimChild(std::optional<int> grade, const QStringList& knownSteps, bool placing)
        : known(knownSteps.cbegin(), knownSteps.cend())
    {
        for (const QString& step : knownSteps)
            for (const ReviewProblem& fact : stepFacts(step)) known.insert(fact.fact);
        input = {7, QDate(2026, 4, 6), defaultPath(grade), {}, placing};
    }
    bool slow(const PlanFact& f) const
    {
        return !known.contains(f.fact) && qHash(f.fact, 2) % 5 == 0 && f.firstTryRight < 15;
    }
    void refresh()
    {
        const QDateTime endOfDay = QDateTime(input.today.addDays(1), QTime(0, 0)).toUTC();
        for (PlanFact& f : input.facts) {
            const SimFact& sim = facts[f.fact];
            f.state = factState(sim.latest, sim.lastMissed, {}, endOfDay);
            if (f.state == FactState::kMastered && slow(f)) f.state = FactState::kSlow;
            f.overLimitMs = f.state == FactState::kSlow ? qHash(f.fact, 3) % 900 : 0;
        }
    }
    void answer(const ReviewProblem& problem)
    {
        SimFact& sim = facts[problem.fact];
        PlanFact& f = input.facts[problem.fact];
        const bool right = known.contains(problem.fact) || f.seen >= int(qHash(f.fact, 1) % 3);
        f = {problem.fact,
             problem.answer,
             f.state,
             dueDay(sim.box = nextBox(sim.box, right), input.today),
             f.missedEver || !right,
             f.seen + 1,
             f.firstTryRight + right,
             0,
             (f.seen == 0 || f.quickAtEveryTry) && right && !slow(f)};
        sim.latest = (QList<FirstTry>{{input.today, right}} + sim.latest).mid(0, 10);
        if (!right) sim.lastMissed = QDateTime(input.today, QTime(12, 0));
    }
    // One day: the set planned, answered, and what it passed.
    DaySet day()
    {
        refresh();
        const DaySet set = planDay(input);
        for (const ReviewProblem& problem : set.problems) answer(problem);
        if (set.procedureCount > 0) {
            const bool met = known.contains(set.procedureKind) ||
                             std::any_of(input.sets.cbegin(), input.sets.cend(),
                                         [&](auto& s) { return s.step == set.procedureKind; });
            input.sets.append({set.procedureKind, input.today, set.procedureCount,
                               met ? set.procedureCount : set.procedureCount / 2});
        }
        problems += set.problems.size() + set.procedureCount;
        refresh();
        const Passing passing = stepsPassed(input);
        input.passed.append(passing.passed);
        input.placing = passing.placing;
        input.today = input.today.addDays(1);
        return set;
    }
};

bool dueMissed(const PlanFact& f, const QDate& today)
{
    return f.missedEver && f.due <= today && f.state != FactState::kMastered;
}

} // namespace

class TestDayPlan : public QObject {
    Q_OBJECT
private slots:
    // Each recall step's facts as its kind asks them: keyed as the drill
    // keys the question, the answer what the question makes, a recall fact.
    void factsAsAsked_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<int>("count");
        QTest::newRow("sums to ten") << "add:0" << 45;
        QTest::newRow("carrying sums") << "add:1" << 36;
        QTest::newRow("sums to twenty") << "add:2" << 190;
        QTest::newRow("within ten") << "sub:0" << 55;
        QTest::newRow("teens borrowing") << "sub:1" << 45;
        QTest::newRow("from twenty") << "sub:2" << 229;
        QTest::newRow("row 7") << "table:7" << 9;
        QTest::newRow("division row 8") << "divrow:8" << 9;
        QTest::newRow("table divisions") << "div:0" << 81;
        QTest::newRow("worked through") << "add:4" << 0;
    }
    void factsAsAsked()
    {
        QFETCH(QString, step);
        QFETCH(int, count);
        const QList<ReviewProblem> facts = common::records::stepFacts(step);
        QCOMPARE(facts.size(), count);
        QCOMPARE(isRecallStep(step), count > 0);
        QSet<QString> keys;
        for (const ReviewProblem& f : facts) {
            keys.insert(f.fact);
            QVERIFY2(isRecallFact(f.fact), qPrintable(f.fact));
            const qsizetype op = f.question.indexOf(QRegularExpression(u"[+\\-x÷]"_qs));
            const int a = f.question.left(op).toInt(), b = f.question.mid(op + 1).toInt();
            const QChar sign = f.question.at(op);
            const int value = sign == u'+'   ? a + b
                              : sign == u'-' ? a - b
                              : sign == u'x' ? a * b
                                             : a / b;
            QCOMPARE(f.answer, QString::number(value));
            QCOMPARE(f.fact.mid(4), QString(f.question).replace(u'÷', u'/'));
        }
        QCOMPARE(keys.size(), facts.size());
    }

    // Every default path holds every step once, skips exactly the earlier
    // years, and reads back from its text as it was.
    void paths_data()
    {
        QTest::addColumn<int>("grade"); // 0: none given
        for (int grade : {0, 1, 2, 3, 5, 6, 9}) QTest::addRow("year %d", grade) << grade;
    }
    void paths()
    {
        QFETCH(int, grade);
        Path path = defaultPath(grade ? std::optional(grade) : std::nullopt);
        const int first = grade >= 1 && grade <= 6 ? std::min(grade, 5) : 1;
        QStringList keys;
        for (const PathStep& step : path.steps) {
            keys.append(step.key);
            QCOMPARE(step.skipped, gradeOfStep(step.key) < first);
        }
        QCOMPARE(keys, allSteps());
        QCOMPARE(QSet<QString>(keys.cbegin(), keys.cend()).size(), keys.size());
        QCOMPARE(gradeOfStep(*currentStep(path, {})), first);
        path.steps.move(3, 20);
        path.steps[9].skipped = !path.steps[9].skipped;
        path.pinned = path.steps.last().key;
        QCOMPARE(parsePath(pathText(path), path.pinned), path);
        QCOMPARE(*currentStep(path, {}), path.pinned);
        // A step the text lacks comes back at the end; an unknown one is dropped.
        const Path cut = parsePath(u"table:9 nothing:1 -add:3 table:9"_qs);
        QCOMPARE(cut.steps.mid(0, 3),
                 (QList<PathStep>{{u"table:9"_qs}, {u"add:3"_qs, true}, {u"add:0"_qs}}));
        QCOMPARE(cut.steps.size(), allSteps().size());
    }

    // A child-year from each start: every day's set as the day's facts ask,
    // the same when asked again, never a step given back.
    void childYear_data()
    {
        QTest::addColumn<int>("grade");
        QTest::addColumn<QStringList>("known");
        QTest::addColumn<int>("length");
        QTest::newRow("year 1, nothing known") << 1 << QStringList{} << 20;
        QTest::newRow("year 2, short days") << 2 << QStringList{} << 10;
        QTest::newRow("year 2 knowing rows 2-5")
            << 2 << QStringList{u"table:2"_qs, u"table:3"_qs, u"table:4"_qs, u"table:5"_qs} << 30;
    }
    void childYear()
    {
        QFETCH(int, grade);
        QFETCH(QStringList, known);
        QFETCH(int, length);
        SimChild child(grade, known, false);
        child.input.problems = length;
        int recallPassed = 0, differentNextDay = 0, daysOnStep = 0;
        QString lastStep;
        for (int d = 0; d < 365; ++d) {
            child.refresh();
            const PlanInput input = child.input;
            PlanInput tomorrow = input;
            tomorrow.today = input.today.addDays(1);
            differentNextDay += planDay(tomorrow).problems != planDay(input).problems;
            const int passedBefore = child.input.passed.size();
            const DaySet set = child.day();
            QCOMPARE(planDay(input), set);
            QVERIFY(set.problems.size() + set.procedureCount <= length);
            qsizetype backCount = 0;
            for (const PlanFact& f : input.facts)
                backCount += dueMissed(f, input.today) || f.state == FactState::kSlow;
            QSet<QString> seen;
            bool pastDue = false, pastMissed = false;
            int newCount = 0;
            for (qsizetype i = 0; i < set.problems.size(); ++i) {
                const ReviewProblem& p = set.problems.at(i);
                QVERIFY2(!seen.contains(p.fact), qPrintable(p.fact));
                seen.insert(p.fact);
                const PlanFact f = input.facts.value(p.fact);
                QVERIFY(!p.due || !pastDue);
                pastDue = pastDue || !p.due;
                if (p.due) {
                    QVERIFY(dueMissed(f, input.today) || f.state == FactState::kSlow);
                    QVERIFY(!dueMissed(f, input.today) || !pastMissed);
                    pastMissed = !dueMissed(f, input.today);
                } else if (f.seen == 0) {
                    ++newCount;
                    QVERIFY(stepFacts(set.step).contains(p));
                } else {
                    QVERIFY(f.state == FactState::kMastered || f.firstTryRight == f.seen);
                }
            }
            // Everything due fits beside the step's few new facts.
            if (backCount <= length - 3 * kFewestNewFacts)
                QCOMPARE(std::count_if(set.problems.cbegin(), set.problems.cend(),
                                       [](const ReviewProblem& p) { return p.due; }),
                         backCount);
            QVERIFY(newCount <= kMostNewFacts);
            if (isRecallStep(set.step) && newCount == 0 && backCount == 0)
                for (const ReviewProblem& f : stepFacts(set.step))
                    QVERIFY(input.facts.value(f.fact).seen > 0);
            for (const QString& step : child.input.passed.mid(passedBefore))
                recallPassed += isRecallStep(step);
            // A kind worked through scores well from its second set on, so
            // moves on by its sets of two days after the first.
            if (set.step != lastStep && !lastStep.isEmpty() && !isRecallStep(lastStep))
                QCOMPARE(daysOnStep, kProcedurePassDays + 1);
            daysOnStep = set.step == lastStep ? daysOnStep + 1 : 1;
            lastStep = set.step;
        }
        const QStringList& passed = child.input.passed;
        QCOMPARE(QSet<QString>(passed.cbegin(), passed.cend()).size(), passed.size());
        QVERIFY(recallPassed > 0);
        QVERIFY(differentNextDay * 4 > 365 * 3);
    }

    // Placement of a year-2 child, day by day until it ends: every step the
    // child knows up to its first unknown one is passed, none after it.
    void placement_data()
    {
        QTest::addColumn<QStringList>("known");
        QTest::addColumn<QString>("firstUnknown");
        const QStringList all = allSteps();
        QTest::newRow("knows the whole table")
            << all.mid(0, all.indexOf(u"table:1"_qs) + 1) << "add:5";
        QTest::newRow("knows none of it") << all.mid(0, all.indexOf(u"sub:4"_qs) + 1) << "table:5";
        QTest::newRow("knows nothing") << QStringList{} << "add:3";
    }
    void placement()
    {
        QFETCH(QStringList, known);
        QFETCH(QString, firstUnknown);
        SimChild child(2, known, true);
        int days = 0;
        while (child.input.placing && days < 60) {
            ++days;
            QVERIFY(child.day().placing);
        }
        QVERIFY(!child.input.placing);
        QCOMPARE(*currentStep(child.input.path, child.input.passed), firstUnknown);
        for (const QString& step : child.input.passed) QVERIFY(known.contains(step));
        for (const QString& step : known)
            QVERIFY(child.input.passed.contains(step) || gradeOfStep(step) < 2);
        qInfo("placement: %d problems over %d days", child.problems, days);
    }
};

QTEST_GUILESS_MAIN(TestDayPlan)
#include "test_day_plan.moc"
