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
                  m_made = "made_" + m_suffix, m_half = "half_" + m_suffix;

    // What psql prints of the commands (then the file), as superuser; "!" on a failure.
    static QString psql(const QString& database, const QStringList& commands, bool file = false)
    {
        QStringList args{"-X", "-q", "-At", "-v", "ON_ERROR_STOP=1", "-d", database};
        for (const QString& command : commands) args << "-c" << command;
        if (file) args << "-f" << SERVER_SCHEMA_SQL;
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start("psql", args);
        const bool ok = p.waitForFinished(60000) && p.exitCode() == 0;
        return ok ? QString::fromUtf8(p.readAllStandardOutput()).trimmed() : QStringLiteral("!");
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
        for (const QString group : {kPupilsGroup, kTeachersGroup})
            psql("postgres", {"DO $$BEGIN CREATE ROLE " + group +
                              " NOLOGIN; EXCEPTION WHEN duplicate_object THEN END$$"});
        QCOMPARE(psql("postgres", {"CREATE ROLE " + m_owner,
                                   QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%1' IN ROLE %2")
                                       .arg(m_pupil, kPupilsGroup),
                                   "CREATE DATABASE " + m_made + " OWNER " + m_owner,
                                   "CREATE DATABASE " + m_half + " OWNER " + m_owner}),
                 "");
    }

    void cleanupTestCase()
    {
        if (!qEnvironmentVariableIsEmpty("APP_TEST_PGHOST"))
            psql("postgres",
                 {"DROP DATABASE IF EXISTS " + m_made, "DROP DATABASE IF EXISTS " + m_half,
                  "DROP ROLE IF EXISTS " + m_owner, "DROP ROLE IF EXISTS " + m_pupil});
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
