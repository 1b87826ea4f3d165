// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/school_server.h"

#include "records/database/migrations.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace school {

namespace {

const QString kPassword = QStringLiteral("school-test");

// A connection to `database` as `role`, the cluster's owner when empty.
QSqlDatabase connect(const QString& database, const QString& role = {})
{
    const QString name = (role.isEmpty() ? QStringLiteral("owner") : role) + u'@' + database;
    if (QSqlDatabase::contains(name)) return QSqlDatabase::database(name);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    db.setHostName(qEnvironmentVariable("APP_TEST_PGHOST"));
    db.setPort(qEnvironmentVariableIntValue("APP_TEST_PGPORT"));
    db.setDatabaseName(database);
    db.setUserName(role.isEmpty() ? qEnvironmentVariable("APP_TEST_PGUSER") : role);
    if (!role.isEmpty()) db.setPassword(kPassword);
    db.open();
    return db;
}

bool pgctl(const QStringList& arguments)
{
    QProcess p;
    p.start(qEnvironmentVariable("APP_TEST_PGCTL"), arguments);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

QString missingServer()
{
    if (qEnvironmentVariableIsEmpty("APP_TEST_PGHOST") ||
        qEnvironmentVariableIsEmpty("APP_TEST_PGCTL"))
        return QStringLiteral("no test server (APP_TEST_PGHOST): run through ./test.sh");
    return {};
}

SchoolDatabase::SchoolDatabase(const QString& name, int pupils, int teachers)
    : m_name(name + u'_' + QString::number(QCoreApplication::applicationPid())),
      m_database(QStringLiteral("records_") + m_name), m_pupils(pupils), m_teachers(teachers)
{
    QSqlDatabase server = connect(QStringLiteral("postgres"));
    // Names of databases and roles are not values: they cannot be bound.
    QStringList statements{QStringLiteral("CREATE DATABASE ") + m_database};
    QSqlQuery q(server);
    for (const QString& statement : statements)
        if (!q.exec(statement)) m_error = statement + u'\n' + q.lastError().text();
    if (!m_error.isEmpty()) return;
    QSqlQuery make(owner());
    statements = common::records::serverSchema();
    for (int n = 1; n <= pupils; ++n)
        statements << QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2' IN ROLE %3")
                          .arg(role(n), kPassword, QLatin1String(common::records::kPupilsGroup));
    for (int n = 1; n <= teachers; ++n)
        statements << QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2' IN ROLE %3")
                          .arg(teacherRole(n), kPassword,
                               QLatin1String(common::records::kTeachersGroup));
    statements << QStringLiteral("CREATE ROLE %1 NOLOGIN").arg(classRole(1))
               << QStringLiteral("INSERT INTO classes VALUES ('%1', '1組')").arg(classRole(1));
    m_classes = 1;
    for (int n = 1; n <= pupils; ++n)
        statements << QStringLiteral("GRANT %1 TO %2").arg(classRole(1), role(n));
    for (int n = 1; n <= teachers; ++n)
        statements << QStringLiteral("GRANT %1 TO %2").arg(classRole(1), teacherRole(n));
    for (const QString& statement : statements) {
        if (!make.exec(statement)) {
            m_error = statement + u'\n' + make.lastError().text();
            return;
        }
    }
    QFile services(serviceFile());
    if (!services.open(QIODevice::WriteOnly)) {
        m_error = services.errorString();
        return;
    }
    for (int n = 1; n <= pupils; ++n)
        services.write(QStringLiteral("[%1]\nhost=%2\nport=%3\ndbname=%4\nuser=%5\npassword=%6\n")
                           .arg(service(n), qEnvironmentVariable("APP_TEST_PGHOST"),
                                qEnvironmentVariable("APP_TEST_PGPORT"), m_database, role(n),
                                kPassword)
                           .toUtf8());
    for (int n = 1; n <= teachers; ++n)
        services.write(QStringLiteral("[%1]\nhost=%2\nport=%3\ndbname=%4\nuser=%5\n")
                           .arg(teacherService(n), qEnvironmentVariable("APP_TEST_PGHOST"),
                                qEnvironmentVariable("APP_TEST_PGPORT"), m_database, teacherRole(n))
                           .toUtf8());
    // libpq passes over a password file that others may read.
    QFile passwords(passwordFile());
    if (!passwords.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        m_error = passwords.errorString();
        return;
    }
    for (int n = 1; n <= teachers; ++n)
        passwords.write(QStringLiteral("%1:%2:%3:%4:%5\n")
                            .arg(qEnvironmentVariable("APP_TEST_PGHOST"),
                                 qEnvironmentVariable("APP_TEST_PGPORT"), m_database,
                                 teacherRole(n), kPassword)
                            .toUtf8());
}

SchoolDatabase::~SchoolDatabase()
{
    for (const QString& name : QSqlDatabase::connectionNames()) {
        if (!name.endsWith(u'@' + m_database)) continue;
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    QSqlQuery q(connect(QStringLiteral("postgres")));
    q.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_database));
    for (int n = 1; n <= m_pupils; ++n) q.exec(QStringLiteral("DROP ROLE IF EXISTS ") + role(n));
    for (int n = 1; n <= m_teachers; ++n)
        q.exec(QStringLiteral("DROP ROLE IF EXISTS ") + teacherRole(n));
    for (int n = 1; n <= m_classes; ++n)
        q.exec(QStringLiteral("DROP ROLE IF EXISTS ") + classRole(n));
}

QString SchoolDatabase::classRole(int n) const
{
    return QLatin1String(common::records::kClassPrefix) + m_name + QStringLiteral("_%1").arg(n);
}

bool SchoolDatabase::makeClass(int n, const QList<int>& pupils, const QList<int>& teachers)
{
    m_classes = std::max(m_classes, n);
    QStringList statements{
        QStringLiteral("CREATE ROLE %1 NOLOGIN").arg(classRole(n)),
        QStringLiteral("INSERT INTO classes VALUES ('%1', '%2組')").arg(classRole(n)).arg(n)};
    for (const int p : pupils)
        statements << QStringLiteral("REVOKE %1 FROM %2").arg(classRole(1), role(p))
                   << QStringLiteral("GRANT %1 TO %2").arg(classRole(n), role(p));
    for (const int t : teachers)
        statements << QStringLiteral("REVOKE %1 FROM %2").arg(classRole(1), teacherRole(t))
                   << QStringLiteral("GRANT %1 TO %2").arg(classRole(n), teacherRole(t));
    QSqlQuery q(owner());
    for (const QString& statement : statements)
        if (!q.exec(statement)) return false;
    return true;
}

bool SchoolDatabase::makeHead(int teacher)
{
    QSqlQuery q(owner());
    return q.exec(QStringLiteral("GRANT %1 TO %2")
                      .arg(QLatin1String(common::records::kHeadsGroup), teacherRole(teacher)));
}

QString SchoolDatabase::role(int n) const { return m_name + QStringLiteral("_pupil_%1").arg(n); }

QString SchoolDatabase::teacherRole(int n) const
{
    return m_name + QStringLiteral("_teacher_%1").arg(n);
}

QSqlDatabase SchoolDatabase::owner() { return connect(m_database); }

QSqlDatabase SchoolDatabase::as(const QString& role) { return connect(m_database, role); }

qint64 SchoolDatabase::count(const QString& sql, const QVariantList& values)
{
    // Tried again once on a new connection: the last one may have gone with
    // a stopped server.
    for (int tries = 0; tries < 2; ++tries) {
        QSqlDatabase db = owner();
        if (tries > 0) {
            db.close();
            db.open();
        }
        QSqlQuery q(db);
        q.prepare(sql);
        for (const QVariant& v : values) q.addBindValue(v);
        if (q.exec() && q.next()) return q.value(0).toLongLong();
    }
    return -1;
}

bool SchoolDatabase::stopServer()
{
    return pgctl({QStringLiteral("stop"), QStringLiteral("-m"), QStringLiteral("fast")});
}

bool SchoolDatabase::startServer() { return pgctl({QStringLiteral("start")}); }

} // namespace school
