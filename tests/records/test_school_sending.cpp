// SPDX-License-Identifier: GPL-3.0-or-later
// A pupil's answers on their way to a school's server (the private PostgreSQL
// cluster the test command starts): the drill never waits for the server,
// and every answer arrives once, however often the server goes away.
#include "records/drill/records_writer.h"
#include "records/reads/class_page.h"
#include "records/store/records_store.h"
#include "records/tables/path_table.h"
#include "tests/support/school_server.h"

#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace common::records;
using school::SchoolDatabase;

namespace {

common::AnswerRecord answerAt(int i)
{
    common::AnswerRecord a;
    a.position = i + 1;
    a.fact = QStringLiteral("mul:7x%1").arg(i);
    a.rightAnswer = QString::number(7 * i);
    a.typed = i == 4 ? QStringLiteral("5") : a.rightAnswer;
    a.correct = i != 4;
    a.elapsedMs = 1200;
    a.answeredAt = QDateTime::currentDateTimeUtc();
    return a;
}

qint64 localCount(const QString& file, const QString& sql)
{
    RecordsStore store;
    store.open(file);
    QSqlQuery q(QSqlDatabase::database(store.connectionName()));
    return q.exec(sql) && q.next() ? q.value(0).toLongLong() : -1;
}

} // namespace

class TestSchoolSending : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        if (const QString missing = school::missingServer(); !missing.isEmpty()) {
            if (qgetenv("CI") == "true") QFAIL(qPrintable(missing));
            QSKIP(qPrintable(missing));
        }
    }

    // The server stops in the middle of a set and comes back; it stops again
    // and the drill is closed before it is back. The drill takes every answer
    // at once throughout, and the server ends with each one once.
    void serverAwayMidSet()
    {
        SchoolDatabase school(QStringLiteral("away"), 1);
        QVERIFY2(school.ok(), qPrintable(school.error()));
        qputenv("PGSERVICEFILE", school.serviceFile().toUtf8());
        const QString file = m_dir.filePath(QStringLiteral("away.sqlite"));
        const auto onServer = [&] {
            return school.count(QStringLiteral("SELECT count(*) FROM answers"));
        };
        {
            RecordsWriter drill(file, school.service(1));
            drill.open([](const OpenedRecords&) {});
            drill.setStarted({QStringLiteral("numira"), QStringLiteral("table:7"), 10, {}});
            for (int i = 0; i < 3; ++i) drill.answered(answerAt(i));
            QTRY_COMPARE_WITH_TIMEOUT(onServer(), 3, 20000);
            QVERIFY(SchoolDatabase::stopServer());
            for (int i = 3; i < 6; ++i) drill.answered(answerAt(i));
            drill.flush();
            QCOMPARE(localCount(file, QStringLiteral("SELECT count(*) FROM answers")), 6);
            QVERIFY(SchoolDatabase::startServer());
            QTRY_COMPARE_WITH_TIMEOUT(onServer(), 6, 30000);
            QVERIFY(SchoolDatabase::stopServer());
            for (int i = 6; i < 10; ++i) drill.answered(answerAt(i));
            drill.setEnded(8);
            drill.flush();
        }
        QVERIFY(SchoolDatabase::startServer());
        {
            // The next start of the drill sends what waited, each once.
            const qint64 waiting = localCount(file, QStringLiteral("SELECT count(*) FROM outbox"));
            RecordsWriter drill(file, school.service(1));
            drill.open([](const OpenedRecords&) {});
            drill.flush();
            QVERIFY(drill.sender());
            QVERIFY(drill.sender()->waitUntilSent(std::chrono::seconds(30)));
            QCOMPARE(drill.sender()->sent(), waiting);
        }
        QCOMPARE(onServer(), 10);
        QCOMPARE(school.count(QStringLiteral("SELECT count(DISTINCT uid) FROM answers")), 10);
        QCOMPARE(school.count(QStringLiteral("SELECT sum(seen) FROM facts")), 10);
        QCOMPARE(school.count(QStringLiteral("SELECT count(*) FROM sets "
                                             "WHERE score = 8 AND ended_at IS NOT NULL "
                                             "AND first_tries = 10 AND first_right = 9")),
                 1);
        QCOMPARE(school.count(QStringLiteral("SELECT count(*) FROM children WHERE login = ?"),
                              {school.role(1)}),
                 1);
        QCOMPARE(localCount(file, QStringLiteral("SELECT count(*) FROM outbox")), 0);
        // The adult was told once, however many tries failed.
        QCOMPARE(localCount(file, QStringLiteral("SELECT count(*) FROM notices")), 1);

        // An answer sent again (its commit's word lost with the connection)
        // changes nothing on the server.
        RecordsStore local, server;
        local.open(file);
        QSqlQuery q(QSqlDatabase::database(local.connectionName()));
        QVERIFY(q.exec(QStringLiteral("SELECT a.uid, s.uid FROM answers a "
                                      "JOIN sets s ON s.id = a.set_id ORDER BY a.id LIMIT 1")) &&
                q.next());
        common::AnswerRecord again = answerAt(0);
        again.uid = q.value(0).toString();
        QCOMPARE(server.openServer(school.service(1)), Opening::kOpened);
        const auto child = server.loginChild({});
        QVERIFY(child);
        qint64 set = 0;
        QVERIFY(server.recordAnswer(
            *child,
            {QStringLiteral("numira"), QStringLiteral("table:7"), 10, q.value(1).toString()}, set,
            again));
        QCOMPARE(onServer(), 10);
        QCOMPARE(school.count(QStringLiteral("SELECT sum(seen) FROM facts")), 10);
        QCOMPARE(school.count(QStringLiteral("SELECT count(*) FROM sets")), 1);
    }

    // A class of 35 at once, each pupil in a process of its own answering
    // 100 times: every answer on the server, none twice, each with its child.
    void classAtOnce()
    {
        constexpr int kPupils = 35, kAnswers = 100;
        SchoolDatabase school(QStringLiteral("class"), kPupils);
        QVERIFY2(school.ok(), qPrintable(school.error()));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PGSERVICEFILE"), school.serviceFile());
        std::vector<std::unique_ptr<QProcess>> pupils;
        for (int n = 1; n <= kPupils; ++n) {
            auto& p = pupils.emplace_back(std::make_unique<QProcess>());
            p->setProcessEnvironment(env);
            p->start(QStringLiteral(APP_SCHOOL_PUPIL),
                     {m_dir.filePath(QStringLiteral("pupil%1.sqlite").arg(n)), school.service(n),
                      QString::number(kAnswers), QStringLiteral("5")});
        }
        for (auto& p : pupils) {
            QVERIFY(p->waitForFinished(180000));
            QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0,
                     p->readAllStandardError().constData());
        }
        QCOMPARE(school.count(QStringLiteral("SELECT count(*) FROM answers")), kPupils * kAnswers);
        QCOMPARE(school.count(QStringLiteral("SELECT count(DISTINCT uid) FROM answers")),
                 kPupils * kAnswers);
        QCOMPARE(
            school.count(
                QStringLiteral(
                    "SELECT count(*) FROM (SELECT s.child_id FROM answers a "
                    "JOIN sets s ON s.id = a.set_id JOIN children c ON c.id = s.child_id "
                    "GROUP BY s.child_id HAVING count(*) = ? AND count(DISTINCT c.login) = 1) t"),
                {kAnswers}),
            kPupils);
        QCOMPARE(
            school.count(QStringLiteral("SELECT count(*) FROM sets WHERE ended_at IS NOT NULL")),
            kPupils * kAnswers / 10);
    }

    // Before pupil 1 ever plays, pupil 2 makes a child under 1's login: the
    // server names it by 2's own. Then both drills send every answer, each to
    // its own child, and the teacher's class page shows each child once.
    void anotherPupilsName()
    {
        SchoolDatabase school(QStringLiteral("squat"), 2, 1);
        QVERIFY2(school.ok(), qPrintable(school.error()));
        qputenv("PGSERVICEFILE", school.serviceFile().toUtf8());
        qputenv("PGPASSFILE", school.passwordFile().toUtf8());
        QSqlQuery squat(school.as(school.role(2)));
        squat.prepare(
            QStringLiteral("INSERT INTO children(nickname, created_at) VALUES(?, 'now')"));
        squat.addBindValue(school.role(1));
        squat.exec();
        for (int n = 1; n <= 2; ++n) {
            RecordsWriter drill(m_dir.filePath(QStringLiteral("squat%1.sqlite").arg(n)),
                                school.service(n));
            drill.open([](const OpenedRecords&) {});
            drill.setStarted({QStringLiteral("numira"), QStringLiteral("table:7"), 10, {}});
            for (int i = 0; i < 3 * n; ++i) drill.answered(answerAt(i));
            drill.flush();
            QVERIFY(drill.sender() && drill.sender()->waitUntilSent(std::chrono::seconds(20)));
        }
        RecordsStore teacher;
        QCOMPARE(teacher.openServer(school.teacherService(1)), Opening::kOpened);
        QStringList rows;
        for (const ClassRow& row : readClassPage(teacher.connection()).rows)
            rows << row.nickname + u' ' + QString::number(row.kinds.value(0).problems);
        QCOMPARE(rows, (QStringList{school.role(2) + QStringLiteral(" 6"),
                                    school.role(1) + QStringLiteral(" 3")}));
    }

    // The class's path the teacher set reaches the pupil's file through its
    // drill's sender, and stays there with the server away; the steps the
    // pupil passes reach the server, each once, however often they are
    // written or sent again. Rows: the path and what is passed, twice.
    void classPathAndPassedSteps_data()
    {
        QTest::addColumn<QString>("pinned");
        QTest::addColumn<int>("dayProblems");
        QTest::addColumn<QStringList>("passed");      // written in the file at once
        QTest::addColumn<QStringList>("passedAgain"); // then, at a later start
        QTest::newRow("a row pinned, ten problems")
            << "table:7" << 10 << QStringList{"table:5", "table:2"}
            << QStringList{"table:2", "table:3"};
        QTest::newRow("nothing pinned, about ten minutes")
            << "" << int(kAboutTenMinutes) << QStringList{"add:0"} << QStringList{"add:0"};
    }
    void classPathAndPassedSteps()
    {
        QFETCH(QString, pinned);
        QFETCH(int, dayProblems);
        QFETCH(QStringList, passed);
        QFETCH(QStringList, passedAgain);
        SchoolDatabase school(QStringLiteral("path%1").arg(dayProblems), 1, 1);
        QVERIFY2(school.ok(), qPrintable(school.error()));
        qputenv("PGSERVICEFILE", school.serviceFile().toUtf8());
        qputenv("PGPASSFILE", school.passwordFile().toUtf8());
        ClassPath path{defaultPath(3), dayProblems, true};
        path.path.pinned = pinned;
        path.path.steps.move(0, path.path.steps.size() - 1);
        {
            RecordsStore teacher;
            QCOMPARE(teacher.openServer(school.teacherService(1)), Opening::kOpened);
            QVERIFY(teacher.setClassPath(school.classRole(1), path));
        }
        const QString file = m_dir.filePath(QStringLiteral("path%1.sqlite").arg(dayProblems));
        // The pupil's child in its file, made by the drill's start.
        const auto pupil = [&] {
            return localCount(file, QStringLiteral("SELECT id FROM children WHERE login <> ''"));
        };
        const auto planInFile = [&] {
            RecordsStore local;
            local.open(file);
            return local.childPlan(pupil());
        };
        const auto passedOnServer = [&] {
            return school.count(QStringLiteral("SELECT count(*) FROM steps_passed"));
        };
        QStringList all = passed;
        for (const QString& step : passedAgain)
            if (!all.contains(step)) all << step;
        for (const QStringList& steps : {passed, passedAgain}) {
            RecordsWriter drill(file, school.service(1));
            drill.open([](const OpenedRecords&) {});
            drill.flush();
            QVERIFY(drill.sender());
            QTRY_VERIFY_WITH_TIMEOUT(planInFile() && planInFile()->path == path.path, 20000);
            QCOMPARE(planInFile()->dayProblems, dayProblems);
            RecordsStore local;
            local.open(file);
            QVERIFY(PathTable(local.connection())
                        .markPassed(pupil(), steps, QDate(2026, 12, 9), steps == passed));
            drill.sender()->wake();
            QVERIFY(drill.sender()->waitUntilSent(std::chrono::seconds(20)));
        }
        QCOMPARE(passedOnServer(), all.size());
        QCOMPARE(
            school.count(QStringLiteral("SELECT count(*) FROM steps_passed "
                                        "WHERE by_placement = 1 AND passed_on = '2026-12-09'")),
            passed.size());
        QCOMPARE(localCount(file, QStringLiteral("SELECT count(*) FROM outbox")), 0);
        // The teacher's next path waits on the server while it is away: the
        // drill starts on the last copy.
        {
            RecordsStore teacher;
            QCOMPARE(teacher.openServer(school.teacherService(1)), Opening::kOpened);
            ClassPath next = path;
            next.dayProblems = 30;
            QVERIFY(teacher.setClassPath(school.classRole(1), next));
        }
        QVERIFY(SchoolDatabase::stopServer());
        {
            RecordsWriter drill(file, school.service(1));
            drill.open([](const OpenedRecords&) {});
            drill.flush();
            QTest::qWait(1000);
            QCOMPARE(planInFile()->path, path.path);
            QCOMPARE(planInFile()->dayProblems, dayProblems);
        }
        QVERIFY(SchoolDatabase::startServer());
    }

    // A server the drill cannot use (each way it fails gives the store's own
    // message, tried in test_school_server): the drill records every answer
    // in its own file at once, and the adult is told why, once.
    void unusableService()
    {
        const QString file = m_dir.filePath(QStringLiteral("nosuch.sqlite"));
        RecordsWriter drill(file, QStringLiteral("nosuch"));
        drill.open([](const OpenedRecords&) {});
        drill.setStarted({QStringLiteral("bairo"), QStringLiteral("lcm:easy"), 10, {}});
        for (int i = 0; i < 10; ++i) drill.answered(answerAt(i));
        drill.flush();
        QCOMPARE(localCount(file, QStringLiteral("SELECT count(*) FROM answers")), 10);
        QTRY_COMPARE_WITH_TIMEOUT(localCount(file, QStringLiteral("SELECT count(*) FROM notices")),
                                  1, 20000);
        RecordsStore local;
        local.open(file);
        const QStringList notices = local.takeNotices();
        QVERIFY2(notices.front().contains(u"つながりません"), qPrintable(notices.front()));
        QCOMPARE(localCount(file, QStringLiteral("SELECT count(*) FROM outbox")), 10);
    }
};

QTEST_GUILESS_MAIN(TestSchoolSending)
#include "test_school_sending.moc"
