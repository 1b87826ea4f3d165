// SPDX-License-Identifier: GPL-3.0-or-later
// The shipped SQL file of a school's server run with psql as the README has it,
// on the private cluster: as a new database's owner, no superuser.
#include "records/database/migrations.h"
#include "records/store/records_store.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryFile>
#include <QTest>

using namespace common::records;

class TestServerSchema : public QObject {
    Q_OBJECT
    const QString m_suffix = QString::number(QCoreApplication::applicationPid());
    const QString m_owner = "records_owner_" + m_suffix, m_pupil = "pupil_" + m_suffix,
                  m_made = "made_" + m_suffix, m_half = "half_" + m_suffix,
                  m_old = "old_" + m_suffix, m_new = "new_" + m_suffix,
                  m_other = "other_" + m_suffix, m_teacher = "teacher_" + m_suffix,
                  m_class = kClassPrefix + m_suffix;

    // What psql prints of the commands (then the file), as superuser; "!" on a failure.
    // `file`: the shipped one, or another one named.
    static QString psql(const QString& database, const QStringList& commands, bool file = false,
                        const QString& named = SERVER_SCHEMA_SQL)
    {
        QStringList args{"-X", "-q", "-At", "-v", "ON_ERROR_STOP=1", "-d", database};
        for (const QString& command : commands) args << "-c" << command;
        if (file) args << "-f" << named;
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start("psql", args);
        const bool ok = p.waitForFinished(60000) && p.exitCode() == 0;
        return ok ? QString::fromUtf8(p.readAllStandardOutput()).trimmed() : QStringLiteral("!");
    }

    // The tables, their rules and the rights on them, as pg_dump writes them.
    static QString schemaDump(const QString& database)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start("pg_dump", {"--schema-only", "-d", database});
        if (!p.waitForFinished(60000) || p.exitCode() != 0) return QStringLiteral("!");
        // Less each dump's own \restrict key lines.
        QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n');
        lines.removeIf([](const QString& line) { return line.contains(u"restrict "); });
        return lines.join(u'\n');
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("APP_TEST_PGHOST")) {
            if (qgetenv("CI") == "true") QFAIL("no test server: run through ./test.sh");
            QSKIP("no test server (APP_TEST_PGHOST): run through ./test.sh");
        }
        for (const char* name : {"PGHOST", "PGPORT", "PGUSER"})
            qputenv(name, qgetenv(QByteArray("APP_TEST_") + name));
        for (const QString group : {kPupilsGroup, kTeachersGroup, kHeadsGroup})
            psql("postgres", {"DO $$BEGIN CREATE ROLE " + group +
                              " NOLOGIN; EXCEPTION WHEN duplicate_object THEN END$$"});
        QCOMPARE(psql("postgres",
                      {"CREATE ROLE " + m_owner,
                       QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%1' IN ROLE %2")
                           .arg(m_pupil, kPupilsGroup),
                       QStringLiteral("CREATE ROLE %1 LOGIN IN ROLE %2").arg(m_other, kPupilsGroup),
                       "CREATE ROLE " + m_teacher + " IN ROLE " + kTeachersGroup,
                       "CREATE ROLE " + m_class, "CREATE DATABASE " + m_made + " OWNER " + m_owner,
                       "CREATE DATABASE " + m_half + " OWNER " + m_owner,
                       "CREATE DATABASE " + m_old + " OWNER " + m_owner,
                       "CREATE DATABASE " + m_new + " OWNER " + m_owner}),
                 "");
    }

    void cleanupTestCase()
    {
        if (!qEnvironmentVariableIsEmpty("APP_TEST_PGHOST"))
            psql("postgres",
                 {"DROP DATABASE IF EXISTS " + m_made, "DROP DATABASE IF EXISTS " + m_half,
                  "DROP DATABASE IF EXISTS " + m_old, "DROP DATABASE IF EXISTS " + m_new,
                  "DROP ROLE IF EXISTS " + m_owner, "DROP ROLE IF EXISTS " + m_pupil,
                  "DROP ROLE IF EXISTS " + m_other, "DROP ROLE IF EXISTS " + m_teacher,
                  "DROP ROLE IF EXISTS " + m_class});
    }

    // A pupil opens it through a libpq service, as the drills do, and adds its
    // child: the server names it by the pupil's login, whatever it asked.
    void makesWhatTheProgramsOpen()
    {
        QCOMPARE(psql(m_made, {"SET ROLE " + m_owner}, true), "");
        QTemporaryFile services;
        const QString service = "[school]\ndbname=" + m_made + "\nuser=" + m_pupil + "\npassword=";
        QVERIFY(services.open() && services.write((service + m_pupil).toUtf8()) > 0 &&
                services.flush());
        qputenv("PGSERVICEFILE", services.fileName().toUtf8());
        RecordsStore store;
        QCOMPARE(store.openServer("school"), Opening::kOpened);
        qint64 id = 0;
        QCOMPARE(store.addChild("たろう", &id).value_or("added"), "added");
        QCOMPARE(store.children(), (QList<Child>{{id, m_pupil}}));
        QCOMPARE(psql(m_made, {"SELECT login || ' ' || tableowner FROM children, pg_tables "
                               "WHERE tablename = 'answers'"}),
                 m_pupil + ' ' + m_owner);
    }

    // A server made by the version-6 file, with a pupil's rows in it, run
    // through the shipped file: brought to the schema a new server has, the
    // rows kept, each pupil still reading its own alone, a teacher its
    // classes' pupils alone; run again, and on a new server again, it changes
    // nothing.
    void upgradesAnEarlierServer()
    {
        QCOMPARE(psql(m_old, {"SET ROLE " + m_owner}, true, RECORDS_SERVER_6_SQL), "");
        const QString pupilRows =
            "SET ROLE " + m_pupil +
            ";INSERT INTO children(nickname, created_at) VALUES ('たろう', '2026-12-01')"
            ";INSERT INTO sets(child_id, program, choice, problem_count, started_at) "
            "SELECT id, 'numira', 'add:1', 10, '2026-12-01' FROM children"
            ";INSERT INTO answers(set_id, position, fact, right_answer, typed, attempt, "
            "correct, answer_shown, elapsed_ms, answered_at) "
            "SELECT id, 1, 'add:1+1', '2', '2', 1, 1, 0, 900, '2026-12-01' FROM sets"
            ";INSERT INTO facts(child_id, fact, seen, first_try_right, streak, last_seen) "
            "SELECT id, 'add:1+1', 1, 1, 1, '2026-12-01' FROM children";
        QCOMPARE(psql(m_old, {pupilRows}), "");
        const QStringList counts{"SELECT count(*) FROM children", "SELECT count(*) FROM sets",
                                 "SELECT count(*) FROM answers"};
        const auto seen = [&](const QString& role) {
            QStringList lines;
            for (const QString& count : counts) lines << psql(m_old, {"SET ROLE " + role, count});
            return lines.join(u' ');
        };
        QCOMPARE(seen(m_pupil), "1 1 1");
        // Before, a teacher read every pupil.
        QCOMPARE(seen(m_teacher), "1 1 1");
        for (int run = 1; run <= 2; ++run) {
            QCOMPARE(psql(m_old, {"SET ROLE " + m_owner}, true), "");
            QCOMPARE(psql(m_old, {"SELECT version FROM records_version"}),
                     QString::number(schemaVersion()));
            QCOMPARE(seen(m_pupil), "1 1 1");
            QCOMPARE(seen(m_other), "0 0 0");
            // Now a teacher reads the pupils of its classes alone.
            QCOMPARE(seen(m_teacher), run == 1 ? "0 0 0" : "1 1 1");
            if (run == 1)
                QCOMPARE(psql(m_old, {"INSERT INTO classes VALUES ('" + m_class + "', '1組')",
                                      "GRANT " + m_class + " TO " + m_pupil + ", " + m_teacher}),
                         "");
            // The fact's right time filled from its answer; the accuracy rule
            // kept for the rows already there, the speed rule on a new server.
            QCOMPARE(psql(m_old, {"SET ROLE " + m_pupil, "SELECT right_times FROM facts"}), "900");
            QCOMPARE(psql(m_old, {"SELECT timed FROM rules"}), "0");
            // A pupil's child is its login after the upgrade too.
            QCOMPARE(psql(m_old, {"SELECT nickname FROM children"}), m_pupil);
            QCOMPARE(psql(m_old, {"SET ROLE " + m_other,
                                  "INSERT INTO children(nickname, login, created_at) "
                                  "VALUES ('x', '" +
                                      m_pupil + "', '2026-12-02')"}),
                     "!");
        }
        for (int run = 1; run <= 2; ++run) QCOMPARE(psql(m_new, {"SET ROLE " + m_owner}, true), "");
        QCOMPARE(psql(m_new, {"SELECT timed FROM rules"}), "1");
        QCOMPARE(schemaDump(m_old), schemaDump(m_new));
    }

    // Stopped halfway by a table already there: nothing made before is left.
    void leavesNothingHalfMade()
    {
        QCOMPARE(psql(m_half, {"SET ROLE " + m_owner, "CREATE TABLE facts (x INTEGER)"}, true),
                 "!");
        QCOMPARE(psql(m_half, {"SELECT string_agg(tablename, ' ') FROM pg_tables "
                               "WHERE schemaname = 'public'"}),
                 "facts");
    }
};

QTEST_GUILESS_MAIN(TestServerSchema)
#include "test_server_schema.moc"
