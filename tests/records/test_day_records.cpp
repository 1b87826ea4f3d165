// SPDX-License-Identifier: GPL-3.0-or-later
// The day's practice on a family's file and a school's server (as its owner).
#include "records/drill/records_writer.h"
#include "records/reads/day_set.h"
#include "records/store/records_store.h"
#include "records/tables/answers_table.h"
#include "tests/support/school_server.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace common::records;

namespace {

const QDate kToday(2026, 3, 2); // a row of days before it runs into February

QDateTime atNoon(const QDate& day) { return QDateTime(day, QTime(12, 0)).toUTC(); }

std::optional<int> gradeOf(int grade) { return grade ? std::optional<int>(grade) : std::nullopt; }

qint64 scalar(const Connection& c, const QString& sql, const QVariantList& values)
{
    QSqlQuery q(c.database());
    q.prepare(sql);
    for (const QVariant& v : values) q.addBindValue(v);
    return q.exec() && q.next() ? q.value(0).toLongLong() : -1;
}

// A set of 10 problems, `answered` answered (-1: all, not ended), `right` of
// them right at the first try (-1: all answered), ended at noon of `day`;
// its score is the first-try percentage, as the drills keep it.
qint64 addSet(const Connection& c, qint64 child, const QString& choice, const QDate& day,
              int answered, int right = -1)
{
    const QVariant end =
        answered < 0 ? QVariant(QMetaType(QMetaType::QString)) : utcText(atNoon(day));
    answered = answered < 0 ? 10 : answered;
    right = right < 0 ? answered : right;
    return scalar(c,
                  "INSERT INTO sets(child_id, program, choice, problem_count, started_at, "
                  "ended_at, score, first_tries, first_right) "
                  "VALUES(?, ?, ?, 10, ?, ?, ?, ?, ?) RETURNING id",
                  {child, u"numira"_qs, choice, utcText(atNoon(day).addSecs(-60)), end,
                   answered ? right * 100 / answered : 0, answered, right});
}

} // namespace

class TestDayRecords : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    RecordsStore m_file;
    std::unique_ptr<school::SchoolDatabase> m_school;
    Connection m_server;
    int m_made = 0;
    const bool m_serverThere = school::missingServer().isEmpty();
    std::optional<common::DaySet> m_fileSet;

    // The row's database, with a new child in it (of id `id` when given).
    Connection& records(qint64& child, qint64 id = 0)
    {
        QFETCH_GLOBAL(bool, server);
        Connection& c = server ? m_server : m_file.connection();
        child = scalar(
            c,
            "INSERT INTO children(id, nickname, login, created_at) "
            "VALUES(?, ?, NULL, ?) RETURNING id",
            {id ? id : ++m_made, u"子ども%1"_qs.arg(id ? id : m_made), utcText(atNoon(kToday))});
        return c;
    }

private slots:
    void initTestCase_data()
    {
        QTest::addColumn<bool>("server");
        QTest::newRow("file") << false;
        if (m_serverThere) QTest::newRow("server") << true;
    }
    void initTestCase()
    {
        QVERIFY(m_file.open(m_dir.filePath(QStringLiteral("records.sqlite"))) == Opening::kOpened);
        QVERIFY2(m_serverThere || qgetenv("CI") != "true", "no test server");
        if (!m_serverThere) return;
        m_school = std::make_unique<school::SchoolDatabase>(QStringLiteral("day"), 0);
        QVERIFY2(m_school->ok(), qPrintable(m_school->error()));
        QVERIFY(m_server.open(serverDialect(), [this](QSqlDatabase& db) {
            db.setHostName(qEnvironmentVariable("APP_TEST_PGHOST"));
            db.setPort(qEnvironmentVariableIntValue("APP_TEST_PGPORT"));
            db.setUserName(qEnvironmentVariable("APP_TEST_PGUSER"));
            db.setDatabaseName(m_school->database());
        }));
    }

    // Which of a child's facts the day reads: every fact known by heart,
    // the long ones too, and a fact worked through only when it is due.
    void factsRead_data()
    {
        QTest::addColumn<QString>("fact");
        QTest::addColumn<int>("dueIn"); // days from today; 99: never missed
        QTest::addColumn<bool>("read");
        QTest::newRow("a times-table fact") << "mul:7x8" << 99 << true;
        QTest::newRow("10+10") << "add:10+10" << 99 << true;
        QTest::newRow("from 20 take away") << "sub:20-13" << 99 << true;
        QTest::newRow("from 15 take away") << "sub:15-12" << 99 << true;
        QTest::newRow("a sum worked through") << "add:38+47" << 99 << false;
        QTest::newRow("a sum worked through, due") << "add:38+47" << 0 << true;
        QTest::newRow("a sum worked through, due tomorrow") << "add:38+47" << 1 << false;
        QTest::newRow("a long sum, due") << "add:138+247" << -2 << true;
    }
    void factsRead()
    {
        QFETCH(QString, fact);
        QFETCH(int, dueIn);
        QFETCH(bool, read);
        qint64 child = 0;
        Connection& c = records(child);
        const bool missed = dueIn != 99;
        QVERIFY(scalar(c,
                       "INSERT INTO facts(child_id, fact, seen, first_try_right, streak, "
                       "last_seen, due) VALUES(?, ?, 2, ?, 0, ?, ?) RETURNING seen",
                       {child, fact, missed ? 1 : 2, utcText(atNoon(kToday)),
                        kToday.addDays(missed ? dueIn : 5).toString(Qt::ISODate)}) == 2);
        const std::optional<PlanInput> input = readPlanInput(c, child, kToday);
        QVERIFY(input);
        QCOMPARE(input->facts.contains(fact), read);
    }

    // A year, a day's length and a path as an adult sets them; 0 is no year.
    void plan_data()
    {
        QTest::addColumn<int>("grade");
        QTest::addColumn<int>("own");      // 1: an own path, 2: one then reset
        QTest::addColumn<int>("newGrade"); // beyond kLastGrade: refused
        QTest::addColumn<int>("problems");
        QTest::addColumn<bool>("problemsTaken");
        QTest::newRow("a new year on the default path") << 2 << 0 << 4 << 15 << true;
        QTest::newRow("the year cleared, ten minutes") << 3 << 0 << 0 << 0 << true;
        QTest::newRow("out of range refused") << 2 << 0 << 7 << 17 << false;
        QTest::newRow("own path kept in a new year") << 1 << 1 << 5 << 30 << true;
        QTest::newRow("own path reset to the year's") << 1 << 2 << 5 << 20 << true;
    }
    void plan()
    {
        QFETCH(int, grade);
        QFETCH(int, own);
        QFETCH(int, newGrade);
        QFETCH(int, problems);
        QFETCH(bool, problemsTaken);
        qint64 child = 0;
        Connection& c = records(child);
        PathTable table(c);
        QVERIFY(table.setGrade(child, gradeOf(grade)));
        Path mine = defaultPath(kLastGrade); // its early steps skipped
        std::reverse(mine.steps.begin(), mine.steps.end());
        mine.pinned = mine.steps.front().key;
        if (own > 0) QVERIFY(table.setPath(child, mine));
        QCOMPARE(table.setGrade(child, gradeOf(newGrade)), newGrade <= kLastGrade);
        if (own > 1) QVERIFY(table.resetPath(child));
        QCOMPARE(table.setDayProblems(child, problems), problemsTaken);
        const std::optional<ChildPlan> plan = readChildPlan(c, child);
        QVERIFY(plan && plan->placing);
        const std::optional<int> year = gradeOf(newGrade <= kLastGrade ? newGrade : grade);
        QVERIFY(plan->grade == year);
        QCOMPARE(plan->dayProblems, problemsTaken ? problems : kDefaultDayProblems);
        QCOMPARE(plan->ownPath, own == 1);
        QVERIFY(plan->path == (own == 1 ? mine : defaultPath(year)));
    }

    // The day's mark of sets ended on days around kToday (offsets).
    void marks_data()
    {
        QTest::addColumn<QList<int>>("days");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<int>("answered");      // -1: not ended
        QTest::addColumn<QList<int>>("marked"); // days this month, days in a row, today
        const QString day = QStringLiteral("today:table:5");
        QTest::newRow("a finished day's set") << QList<int>{0} << day << 10 << QList<int>{1, 1, 1};
        QTest::newRow("one answered short") << QList<int>{0} << day << 9 << QList<int>{0, 0, 0};
        QTest::newRow("one not ended") << QList<int>{0} << day << -1 << QList<int>{0, 0, 0};
        QTest::newRow("a kind's set") << QList<int>{0} << "table:5" << 10 << QList<int>{0, 0, 0};
        QTest::newRow("to yesterday") << QList<int>{-1, -2, -3} << day << 10 << QList<int>{1, 3, 0};
        QTest::newRow("a day missed") << QList<int>{0, -1, -3} << day << 10 << QList<int>{2, 2, 1};
        QTest::newRow("twice a day") << QList<int>{0, 0, -1} << day << 10 << QList<int>{2, 2, 1};
        QTest::newRow("a day to come") << QList<int>{1} << day << 10 << QList<int>{0, 0, 0};
    }
    void marks()
    {
        QFETCH(QList<int>, days);
        QFETCH(QString, choice);
        QFETCH(int, answered);
        QFETCH(QList<int>, marked);
        qint64 child = 0;
        Connection& c = records(child);
        for (int d : days) QVERIFY(addSet(c, child, choice, kToday.addDays(d), answered) > 0);
        const std::optional<common::DayMarks> marks = readDayMarks(c, child, kToday);
        QVERIFY(marks);
        QCOMPARE((QList<int>{int(marks->month.size()), marks->daysInRow, int(marks->today)}),
                 marked);
    }

    // A grade-2 child placed, three facts of row 5 missed yesterday: the same
    // set twice today and on both databases, the missed facts first.
    void daySet()
    {
        qint64 child = 0;
        Connection& c = records(child, 5000);
        QVERIFY(PathTable(c).setGrade(child, 2) && PathTable(c).endPlacement(child));
        const common::SetRecord set{QStringLiteral("numira"), QStringLiteral("table:5"), 9, {}};
        qint64 setId = 0;
        KeyingCache keying;
        QStringList missed;
        for (int n = 1; n <= 9; ++n) {
            const QString fact = u"mul:5x%1"_qs.arg(n);
            const bool right = n % 3 != 0;
            if (!right) missed << fact;
            const QString sum = QString::number(5 * n), typed = right ? sum : u"1"_qs;
            const QDateTime at = atNoon(kToday.addDays(-1)).addSecs(n);
            const common::AnswerRecord a{n, fact, sum, typed, 1, right, false, {}, 1500, at, {}};
            QVERIFY(AnswersTable(c).write(child, set, setId, a, keying));
        }
        const std::optional<common::DaySet> day = readDaySet(c, child, kToday);
        QVERIFY(day && day == readDaySet(c, child, kToday));
        QStringList due;
        for (const common::ReviewProblem& p : day->problems) due << (p.due ? p.fact : QString());
        QCOMPARE(due.mid(0, missed.size()), missed);
        QFETCH_GLOBAL(bool, server);
        QVERIFY(!server || day == m_fileSet);
        m_fileSet = day;
    }

    // The drill's side: two day's sets of a procedure step today, after a set
    // of its kind yesterday: the first passes the step when yesterday's was
    // 90 % right, and marks the day, the second neither; the child deleted
    // leaves nothing of its plan.
    void dayFinished_data()
    {
        QTest::addColumn<int>("yesterdayRight");
        QTest::newRow("yesterday right") << 10;
        QTest::newRow("yesterday half right") << 5;
    }
    void dayFinished()
    {
        QFETCH_GLOBAL(bool, server);
        if (server) QSKIP("a drill writes its own file");
        QFETCH(int, yesterdayRight);
        const bool passes = yesterdayRight == 10;
        const QString step = QStringLiteral("add:4"); // worked through, not recalled
        qint64 child = 0;
        Connection& c = records(child);
        QVERIFY(PathTable(c).setPath(child, {defaultPath(1).steps, step}) &&
                PathTable(c).endPlacement(child));
        QVERIFY(addSet(c, child, step, QDate::currentDate().addDays(-1), 10, yesterdayRight) > 0);
        RecordsWriter writer(m_file.connection().database().databaseName());
        writer.open([](const OpenedRecords&) {});
        writer.chooseChild(child);
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (int played = 0; played < 2; ++played) {
            writer.setStarted({QStringLiteral("numira"), u"today:"_qs + step, 2, {}});
            for (int n = 1; n <= 2; ++n)
                writer.answered(
                    {n, u"add:1+1"_qs, u"2"_qs, u"2"_qs, 1, true, false, {}, 9, now, {}});
            writer.setEnded(100);
            const std::optional<common::DayOutcome> outcome = writer.dayFinished();
            QVERIFY(outcome && outcome->marks.today && outcome->markEarned == (played == 0));
            QCOMPARE(outcome->passed, played || !passes ? QStringList() : QStringList{step});
        }
        QCOMPARE(m_file.childPlan(child)->passed, passes ? QStringList{step} : QStringList());
        QVERIFY(m_file.deleteChild(child));
        for (const char* table : {"paths", "steps_passed", "sets"})
            QCOMPARE(
                scalar(c, u"SELECT count(*) FROM %1 WHERE child_id = ?"_qs.arg(table), {child}), 0);
    }
};

QTEST_GUILESS_MAIN(TestDayRecords)
#include "test_day_records.moc"
