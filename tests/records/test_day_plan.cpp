// SPDX-License-Identifier: GPL-3.0-or-later
// The path's steps and their facts, and a simulated child's days along it.
#include "records/model/day_plan.h"
#include "records/model/fluency.h"

#include <QRegularExpression>
#include <QTest>

using namespace common;
using namespace common::records;

namespace {

// The same number for a fact in every run (qHash is seeded per process).
int mark(const QString& fact, int salt)
{
    return qChecksum((fact + QString::number(salt)).toUtf8());
}

// A simulated child: what it knows right and quick at once, other facts missed
// a few times and some slow for a while; a kind new to it scores half at first.
struct SimChild {
    QSet<QString> known; // steps and facts
    QHash<QString, QList<FirstTry>> latest;
    QHash<QString, int> boxes;
    QHash<QString, QDate> missedOn;
    PlanInput input;
    int problems = 0;

    SimChild(std::optional<int> grade, const QStringList& knownSteps, bool placing)
        : known(knownSteps.cbegin(), knownSteps.cend())
    {
        for (const QString& step : knownSteps)
            for (const ReviewProblem& fact : stepFacts(step)) known.insert(fact.fact);
        input = {7, QDate(2026, 4, 6), defaultPath(grade), {}, placing};
    }
    bool slow(const QString& fact, int right) const
    {
        return !known.contains(fact) && mark(fact, 2) % 5 == 0 && right < 15;
    }
    void refresh()
    {
        const QDateTime endOfDay = QDateTime(input.today.addDays(1), QTime(0, 0)).toUTC();
        for (PlanFact& f : input.facts) {
            const QDateTime missed(missedOn.value(f.fact), QTime(12, 0));
            f.state = factState(latest[f.fact], missed, {}, endOfDay);
            if (f.state == FactState::kMastered && slow(f.fact, f.firstTryRight))
                f.state = FactState::kSlow;
            f.overLimitMs = f.state == FactState::kSlow ? mark(f.fact, 3) % 900 : 0;
        }
    }
    void answer(const ReviewProblem& p)
    {
        if (!input.facts.contains(p.fact)) input.facts.insert(p.fact, {p.fact, p.answer});
        PlanFact& f = input.facts[p.fact];
        const bool right = known.contains(p.fact) || f.seen >= mark(p.fact, 1) % 3;
        f.quickAtEveryTry = (f.seen == 0 || f.quickAtEveryTry) && right && !slow(p.fact, 0);
        f.missedEver = f.missedEver || !right;
        if (!right) missedOn[p.fact] = input.today;
        ++f.seen;
        f.firstTryRight += right;
        f.due = dueDay(boxes[p.fact] = nextBox(boxes[p.fact], right), input.today);
        latest[p.fact] = (QList<FirstTry>{{input.today, right}} + latest[p.fact]).mid(0, 10);
    }
    DaySet day()
    {
        refresh();
        const DaySet set = planDay(input);
        for (const ReviewProblem& problem : set.problems) answer(problem);
        if (set.procedureCount > 0) {
            const bool met = known.contains(set.procedureKind) ||
                             (!input.sets.isEmpty() && input.sets.last().step == set.procedureKind);
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

} // namespace

class TestDayPlan : public QObject {
    Q_OBJECT
private slots:
    // A recall step's facts: keyed as the drill keys them, answered as asked.
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
        for (const ReviewProblem& f : facts) {
            QVERIFY2(isRecallFact(f.fact), qPrintable(f.fact));
            const QStringList ab = f.question.split(QRegularExpression(u"[+\\-x÷]"_qs));
            const int a = ab[0].toInt(), b = ab[1].toInt();
            const QHash<QChar, int> values{
                {u'+', a + b}, {u'-', a - b}, {u'x', a * b}, {u'÷', b ? a / b : -1}};
            QCOMPARE(f.answer, QString::number(values.value(f.question.at(ab[0].size()))));
            QCOMPARE(f.fact.mid(4), QString(f.question).replace(u'÷', u'/'));
        }
    }

    // A default path: every step, the earlier years skipped; read back as written.
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
        QCOMPARE(gradeOfStep(*currentStep(path, {})), first);
        path.steps.move(3, 20);
        path.steps[9].skipped = !path.steps[9].skipped;
        path.pinned = path.steps.last().key;
        QCOMPARE(parsePath(pathText(path), path.pinned), path);
        QCOMPARE(*currentStep(path, {}), path.pinned);
        const Path cut = parsePath(u"table:9 nothing:1 -add:3 table:9"_qs);
        QCOMPARE(cut.steps.mid(0, 3),
                 (QList<PathStep>{{u"table:9"_qs}, {u"add:3"_qs, true}, {u"add:0"_qs}}));
    }

    // A child-year: each day's set as its facts ask, the same when asked again.
    void childYear_data()
    {
        QTest::addColumn<int>("grade");
        QTest::addColumn<QStringList>("known");
        QTest::addColumn<int>("length");
        QTest::newRow("year 1, nothing known") << 1 << QStringList{} << 20;
        QTest::newRow("year 2, short days") << 2 << QStringList{} << 10;
        QTest::newRow("year 2 knowing rows 2-5") << 2 << allSteps().mid(10, 4) << 30;
    }
    void childYear()
    {
        QFETCH(int, grade);
        QFETCH(QStringList, known);
        QFETCH(int, length);
        SimChild child(grade, known, false);
        child.input.problems = length;
        int differentNextDay = 0, daysOnStep = 0;
        QString lastStep;
        for (int d = 0; d < 365; ++d) {
            child.refresh();
            const PlanInput input = child.input;
            PlanInput tomorrow = input;
            tomorrow.today = input.today.addDays(1);
            differentNextDay += planDay(tomorrow).problems != planDay(input).problems;
            const DaySet set = child.day();
            QCOMPARE(planDay(input), set);
            QVERIFY(set.problems.size() + set.procedureCount <= length);
            const auto dueMissed = [&](const PlanFact& f) {
                return f.missedEver && f.due <= input.today && f.state != FactState::kMastered;
            };
            qsizetype backCount = 0, dueCount = 0, newCount = 0, lastRank = 0;
            for (const PlanFact& f : input.facts)
                backCount += dueMissed(f) || f.state == FactState::kSlow;
            QSet<QString> seen;
            for (const ReviewProblem& p : set.problems) {
                seen.insert(p.fact);
                const PlanFact f = input.facts.value(p.fact);
                const int rank = dueMissed(f) ? 0 : f.state == FactState::kSlow ? 1 : 2;
                QVERIFY(rank >= lastRank && p.due == (rank < 2));
                lastRank = rank;
                dueCount += p.due;
                if (f.seen == 0) {
                    ++newCount;
                    QVERIFY(stepFacts(set.step).contains(p));
                } else if (!p.due) {
                    QVERIFY(f.state == FactState::kMastered || f.firstTryRight == f.seen);
                }
            }
            QCOMPARE(seen.size(), set.problems.size());
            if (backCount <= length - 3 * kFewestNewFacts) QCOMPARE(dueCount, backCount);
            QVERIFY(newCount <= kMostNewFacts);
            if (isRecallStep(set.step) && newCount == 0 && backCount == 0)
                for (const ReviewProblem& f : stepFacts(set.step))
                    QVERIFY(input.facts.value(f.fact).seen > 0);
            // A kind worked through is passed by its good sets of two days.
            if (set.step != lastStep && !lastStep.isEmpty() && !isRecallStep(lastStep))
                QCOMPARE(daysOnStep, kProcedurePassDays + 1);
            daysOnStep = set.step == lastStep ? daysOnStep + 1 : 1;
            lastStep = set.step;
        }
        const QStringList& passed = child.input.passed;
        QCOMPARE(QSet<QString>(passed.cbegin(), passed.cend()).size(), passed.size());
        QVERIFY(std::any_of(passed.cbegin(), passed.cend(), isRecallStep));
        QVERIFY(differentNextDay * 4 > 365 * 3);
    }

    // A year-2 child placed: what it knows up to its first unknown step passed.
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
        for (; child.input.placing && days < 60; ++days) QVERIFY(child.day().placing);
        QVERIFY(!child.input.placing);
        QCOMPARE(*currentStep(child.input.path, child.input.passed), firstUnknown);
        for (const QString& step : child.input.passed) QVERIFY(known.contains(step));
        qInfo("placement: %d problems over %d days", child.problems, days);
    }
};

QTEST_GUILESS_MAIN(TestDayPlan)
#include "test_day_plan.moc"
