// SPDX-License-Identifier: GPL-3.0-or-later
// A school's records server, on the private PostgreSQL cluster the test
// command starts (APP_TEST_PGHOST, APP_TEST_PGPORT, APP_TEST_PGUSER): the
// schema made from the records file's own migrations, and each pupil's rows
// its own. Pupils A and B each write a child, a set, an answer, a fact, a
// path and a passed step as themselves (C has not played yet); then what each
// role may read and write is tried. A and C are in class 1 with teacher 1,
// B in class 2 with teacher 2; teacher 3 (in class 1) is a head teacher.
#include "records/model/day_plan.h"
#include "records/store/records_store.h"
#include "tests/support/school_server.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace common::records;

class TestSchoolServer : public QObject {
    Q_OBJECT
    std::unique_ptr<school::SchoolDatabase> m_school;
    QString m_pupilA, m_pupilB, m_pupilC, m_teacher;
    QHash<QString, qint64> m_childOf, m_setOf;

    QSqlDatabase as(const QString& role) { return m_school->as(role); }
    // Who: "a".."c" the pupils, "t1".."t3" the teachers (t3 the head teacher).
    QString roleOf(const QString& who) const
    {
        return who.size() == 1 ? m_school->role(who[0].unicode() - 'a' + 1)
                               : m_school->teacherRole(who.mid(1).toInt());
    }
    QString serviceOf(const QString& who) const
    {
        qputenv("PGSERVICEFILE", m_school->serviceFile().toUtf8());
        qputenv("PGPASSFILE", m_school->passwordFile().toUtf8());
        return who.size() == 1 ? m_school->service(who[0].unicode() - 'a' + 1)
                               : m_school->teacherService(who.mid(1).toInt());
    }

    static bool run(QSqlDatabase db, const QString& sql, const QVariantList& values = {},
                    qint64* first = nullptr, QString* error = nullptr)
    {
        // Only statements with values are prepared: PostgreSQL prepares no
        // schema statement.
        QSqlQuery q(db);
        if (!values.isEmpty()) q.prepare(sql);
        for (const QVariant& v : values) q.addBindValue(v);
        if (!(values.isEmpty() ? q.exec(sql) : q.exec())) {
            if (error) *error = q.lastError().text();
            return false;
        }
        if (first) *first = q.next() ? q.value(0).toLongLong() : -1;
        return true;
    }

private slots:
    void initTestCase()
    {
        if (const QString missing = school::missingServer(); !missing.isEmpty()) {
            if (qgetenv("CI") == "true") QFAIL(qPrintable(missing));
            QSKIP(qPrintable(missing));
        }
        m_school = std::make_unique<school::SchoolDatabase>(QStringLiteral("server"), 3, 3);
        QVERIFY2(m_school->ok(), qPrintable(m_school->error()));
        QVERIFY(m_school->makeClass(2, {2}, {2}));
        QVERIFY(m_school->makeHead(3));
        m_pupilA = m_school->role(1);
        m_pupilB = m_school->role(2);
        m_pupilC = m_school->role(3);
        m_teacher = m_school->teacherRole(1);
        for (const QString& pupil : {m_pupilA, m_pupilB}) {
            QSqlDatabase db = as(pupil);
            QVERIFY2(db.isOpen(), qPrintable(db.lastError().text()));
            qint64 child = 0, set = 0;
            QVERIFY(run(db, "INSERT INTO children(nickname, created_at) VALUES(?, ?) RETURNING id",
                        {pupil, "2026-12-08T09:00:00.000Z"}, &child));
            QVERIFY(run(db,
                        "INSERT INTO sets(child_id, program, choice, problem_count, started_at) "
                        "VALUES(?, 'numira', 'table:7', 10, '2026-12-08T09:00:00.000Z') "
                        "RETURNING id",
                        {child}, &set));
            QVERIFY(run(db,
                        "INSERT INTO answers(set_id, position, fact, right_answer, typed, "
                        "attempt, correct, answer_shown, elapsed_ms, answered_at) "
                        "VALUES(?, 1, 'mul:7x8', '56', '54', 1, 0, 0, 2000, "
                        "'2026-12-08T09:00:02.000Z')",
                        {set}));
            QVERIFY(run(db,
                        "INSERT INTO facts(child_id, fact, seen, first_try_right, streak, "
                        "last_seen) VALUES(?, 'mul:7x8', 1, 0, 0, '2026-12-08T09:00:02.000Z')",
                        {child}));
            QVERIFY(run(db, "INSERT INTO paths(child_id, steps) VALUES(?, 'table:5 table:2')",
                        {child}));
            QVERIFY(run(db,
                        "INSERT INTO steps_passed(child_id, step, passed_on, by_placement) "
                        "VALUES(?, 'table:5', '2026-12-08', 1)",
                        {child}));
            m_childOf.insert(pupil, child);
            m_setOf.insert(pupil, set);
        }
    }

    void cleanupTestCase() { m_school.reset(); }

    // Rows each role sees of each table: a pupil its own, a teacher its
    // class's pupils', the head teacher all.
    void rowsSeen_data()
    {
        QTest::addColumn<QString>("who");
        QTest::addColumn<QString>("sees"); // whose children, by pupil
        QTest::newRow("pupil A") << "a" << QStringLiteral("a");
        QTest::newRow("pupil B") << "b" << QStringLiteral("b");
        QTest::newRow("class 1's teacher") << "t1" << QStringLiteral("a");
        QTest::newRow("class 2's teacher") << "t2" << QStringLiteral("b");
        QTest::newRow("the head teacher") << "t3" << QStringLiteral("a b");
    }
    void rowsSeen()
    {
        QFETCH(QString, who);
        QFETCH(QString, sees);
        QStringList logins;
        for (const QString& pupil : sees.split(u' ')) logins << roleOf(pupil);
        QSqlQuery q(as(roleOf(who)));
        QVERIFY(q.exec("SELECT login FROM children ORDER BY login"));
        QStringList seenLogins;
        while (q.next()) seenLogins << q.value(0).toString();
        QCOMPARE(seenLogins, logins);
        for (const char* sql : {"SELECT count(*) FROM sets", "SELECT count(*) FROM answers",
                                "SELECT count(*) FROM facts", "SELECT count(*) FROM paths",
                                "SELECT count(*) FROM steps_passed"}) {
            qint64 seen = -1;
            QVERIFY(run(as(roleOf(who)), QString::fromLatin1(sql), {}, &seen));
            QVERIFY2(seen == logins.size(), sql);
        }
    }

    // What pupil A may not do: write as B, or change the schema; and the
    // teacher only reads.
    void refused_data()
    {
        QTest::addColumn<QString>("who");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("bound"); // "B's child", "B's set", a login or nothing
        QTest::newRow("a child as B")
            << "a"
            << "INSERT INTO children(nickname, login, created_at) VALUES('x', ?, 'now')"
            << "B's login";
        QTest::newRow("own child renamed as C, who has yet to play")
            << "a"
            << "UPDATE children SET nickname = ?"
            << "C's login";
        QTest::newRow("a set for B's child")
            << "a"
            << "INSERT INTO sets(child_id, program, choice, problem_count, started_at) "
               "VALUES(?, 'numira', 'add:1', 10, 'now')"
            << "B's child";
        QTest::newRow("an answer in B's set")
            << "a"
            << "INSERT INTO answers(set_id, position, fact, right_answer, typed, attempt, "
               "correct, answer_shown, elapsed_ms, answered_at) "
               "VALUES(?, 2, 'mul:2x2', '4', '4', 1, 1, 0, 900, 'now')"
            << "B's set";
        QTest::newRow("own set moved to B")
            << "a"
            << "UPDATE sets SET child_id = ? WHERE child_id IS NOT NULL"
            << "B's child";
        QTest::newRow("a column added") << "a"
                                        << "ALTER TABLE answers ADD COLUMN x INTEGER"
                                        << "";
        QTest::newRow("a table dropped") << "a"
                                         << "DROP TABLE facts"
                                         << "";
        QTest::newRow("a table made") << "a"
                                      << "CREATE TABLE mine (x INTEGER)"
                                      << "";
        QTest::newRow("the policy dropped") << "a"
                                            << "DROP POLICY own_child ON children"
                                            << "";
        QTest::newRow("the teacher writes") << "t1"
                                            << "UPDATE facts SET seen = 99 WHERE child_id = ?"
                                            << "B's child";
        QTest::newRow("a passed step for B") << "a"
                                             << "INSERT INTO steps_passed(child_id, step, "
                                                "passed_on, by_placement) VALUES(?, 'table:2', "
                                                "'2026-12-08', 0)"
                                             << "B's child";
        QTest::newRow("a path for B") << "a"
                                      << "INSERT INTO paths(child_id, steps) VALUES(?, '')"
                                      << "B's child";
        QTest::newRow("the head teacher writes a pupil's path")
            << "t3"
            << "UPDATE paths SET steps = '' WHERE child_id = ?"
            << "B's child";
        QTest::newRow("a class registered by a teacher") << "t1"
                                                         << "INSERT INTO classes VALUES(?, 'x')"
                                                         << "C's login";
    }
    void refused()
    {
        QFETCH(QString, who);
        QFETCH(QString, sql);
        QFETCH(QString, bound);
        QVariantList values;
        if (bound == u"B's child") values << m_childOf.value(m_pupilB);
        if (bound == u"B's set") values << m_setOf.value(m_pupilB);
        if (bound == u"B's login") values << m_pupilB;
        if (bound == u"C's login") values << m_pupilC;
        QSqlDatabase db = as(roleOf(who));
        QString error;
        QVERIFY2(!run(db, sql, values, nullptr, &error), qPrintable(sql));
        QVERIFY2(error.contains(u"policy") || error.contains(u"permission denied") ||
                     error.contains(u"must be owner") || error.contains(u"check constraint"),
                 qPrintable(error));
    }

    // The class's path set through the store, one after another: by its
    // teacher or the head teacher; refused by the database to a pupil and a
    // teacher of another class, whatever was there before staying.
    void classPathWritten_data()
    {
        QTest::addColumn<QString>("who");
        QTest::addColumn<int>("ofClass");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<QString>("pinned"); // each row its own
        QTest::addColumn<int>("dayProblems");
        QTest::newRow("class 1's teacher, class 1") << "t1" << 1 << true << "table:7" << 10;
        QTest::newRow("class 2's teacher, class 1") << "t2" << 1 << false << "table:8" << 15;
        QTest::newRow("a pupil of class 1") << "a" << 1 << false << "table:9" << 25;
        QTest::newRow("class 1's teacher, class 2") << "t1" << 2 << false << "table:3" << 30;
        QTest::newRow("the head teacher, class 2") << "t3" << 2 << true << "table:4" << 0;
        QTest::newRow("class 2's teacher, class 2") << "t2" << 2 << true << "divrow:2" << 20;
    }
    void classPathWritten()
    {
        QFETCH(QString, who);
        QFETCH(int, ofClass);
        QFETCH(bool, taken);
        QFETCH(QString, pinned);
        QFETCH(int, dayProblems);
        RecordsStore store;
        QCOMPARE(store.openServer(serviceOf(who)), Opening::kOpened);
        const QString role = m_school->classRole(ofClass);
        ClassPath path{defaultPath(2), dayProblems, true};
        path.path.pinned = pinned;
        QCOMPARE(store.setClassPath(role, path), taken);
        QCOMPARE(m_school->count("SELECT count(*) FROM class_paths "
                                 "WHERE class_role = ? AND pinned = ? AND day_problems = ?",
                                 {role, path.path.pinned, path.dayProblems}),
                 taken ? 1 : 0);
        if (taken) QCOMPARE(store.classPath(role).value_or(ClassPath{}), path);
    }

    // What each reads of the classes after the rows above: a teacher its own
    // class, the head teacher every class, a pupil its class's path.
    void classesRead_data()
    {
        QTest::addColumn<QString>("who");
        QTest::addColumn<QList<int>>("classes");
        QTest::newRow("class 1's teacher") << "t1" << QList<int>{1};
        QTest::newRow("class 2's teacher") << "t2" << QList<int>{2};
        QTest::newRow("the head teacher") << "t3" << QList<int>{1, 2};
        QTest::newRow("pupil B") << "b" << QList<int>{2};
        QTest::newRow("pupil C") << "c" << QList<int>{1};
    }
    void classesRead()
    {
        QFETCH(QString, who);
        QFETCH(QList<int>, classes);
        RecordsStore store;
        QCOMPARE(store.openServer(serviceOf(who)), Opening::kOpened);
        QList<SchoolClass> expected;
        for (const int n : classes)
            expected.append({m_school->classRole(n), QString::number(n) + QStringLiteral("組")});
        QCOMPARE(store.classes().value_or(QList<SchoolClass>{}), expected);
        for (int n = 1; n <= 2; ++n)
            QCOMPARE(store.classPath(m_school->classRole(n)).has_value(), classes.contains(n));
        if (who.size() > 1) return; // a teacher
        const auto own = ClassTable(store.connection()).pupilsClassPath();
        QVERIFY(own && *own);
        QCOMPARE(own->value(), store.classPath(m_school->classRole(classes.front())).value());
    }

    // The store through a libpq service name: a pupil's own child on a good
    // one; the adult's message for each way it can fail.
    void openThroughAService_data()
    {
        QTest::addColumn<QString>("service");
        QTest::addColumn<QString>("says");
        QTest::newRow("a pupil's service") << "good"
                                           << "";
        QTest::newRow("a refused password") << "badpass" << u"受け付けませんでした"_qs;
        QTest::newRow("a server without the tables") << "noschema" << u"記録の表がありません"_qs;
        QTest::newRow("no server there") << "nowhere" << u"つながりません"_qs;
        QTest::newRow("no such service") << "missing" << u"つながりません"_qs;
        QTest::newRow("not a name") << "good password=x" << u"サービス名として使えません"_qs;
    }
    void openThroughAService()
    {
        QFETCH(QString, service);
        QFETCH(QString, says);
        QTemporaryDir dir;
        QFile services(dir.filePath("pg_service.conf"));
        QVERIFY(services.open(QIODevice::WriteOnly));
        const QString at = QStringLiteral("host=%1\nport=%2\n")
                               .arg(qEnvironmentVariable("APP_TEST_PGHOST"))
                               .arg(qEnvironmentVariable("APP_TEST_PGPORT"));
        services.write(QStringLiteral("[good]\n%1dbname=%2\nuser=%3\npassword=%4\n"
                                      "[badpass]\n%1dbname=%2\nuser=%3\npassword=wrong\n"
                                      "[noschema]\n%1dbname=postgres\nuser=%5\n"
                                      "[nowhere]\nhost=%6\nport=5\ndbname=x\n")
                           .arg(at, m_school->database(), m_pupilA, QStringLiteral("school-test"),
                                qEnvironmentVariable("APP_TEST_PGUSER"), dir.filePath("none"))
                           .toUtf8());
        services.close();
        qputenv("PGSERVICEFILE", services.fileName().toUtf8());
        RecordsStore store;
        const Opening opening = store.openServer(service);
        qunsetenv("PGSERVICEFILE");
        if (says.isEmpty()) {
            QCOMPARE(opening, Opening::kOpened);
            QCOMPARE(store.children().size(), 1);
            QCOMPARE(store.children().front().id, m_childOf.value(m_pupilA));
            return;
        }
        QCOMPARE(opening, Opening::kFailed);
        QVERIFY(!store.isOpen());
        const QString warning = store.openingWarning(opening).value_or(QString());
        QVERIFY2(warning.contains(says), qPrintable(warning));
        QVERIFY2(!store.errorText().contains(u"school-test"), qPrintable(store.errorText()));
    }
};

QTEST_GUILESS_MAIN(TestSchoolServer)
#include "test_school_server.moc"
