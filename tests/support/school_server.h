// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A school's records database on the private PostgreSQL cluster that the
// test command starts (APP_TEST_PGHOST, APP_TEST_PGPORT, APP_TEST_PGUSER,
// APP_TEST_PGCTL): made from the schema the programs ship, with pupils'
// roles, and a pg_service.conf naming one service a pupil, as a lab has.
// Every pupil and teacher is in class 1 unless moved to another class.
// A teacher's service names no password: as in the administrator's guide,
// it comes from a password file (PGPASSFILE, as a teacher's ~/.pgpass).
// For the tests and benchmarks of sending to a school's server.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>

namespace school {

// Whether the cluster is there; the reason when not.
QString missingServer();

class SchoolDatabase {
public:
    // A fresh database named after `name` and this process, with `pupils`
    // pupils' roles (`<name>_<pid>_pupil_N`, from 1) and `teachers`
    // teachers' (`…_teacher_N`).
    SchoolDatabase(const QString& name, int pupils, int teachers = 0);
    // Drops the database and the roles.
    ~SchoolDatabase();
    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }

    // The service of pupil `n` (from 1), in serviceFile().
    QString service(int n) const { return QStringLiteral("pupil%1").arg(n); }
    QString role(int n) const;
    QString teacherRole(int n) const;
    // The service of teacher `n` (from 1), in serviceFile().
    QString teacherService(int n) const { return QStringLiteral("teacher%1").arg(n); }
    QString database() const { return m_database; }
    // Class `n`'s group role (registered as the administrator's guide has it).
    QString classRole(int n) const;
    // Makes class `n` (from 2) and moves the pupils and teachers named (by
    // number) into it from class 1.
    bool makeClass(int n, const QList<int>& pupils, const QList<int>& teachers);
    // Teacher `n` joins the head teachers.
    bool makeHead(int teacher);
    // A connection as one of the roles, with its password.
    QSqlDatabase as(const QString& role);
    QString serviceFile() const { return m_dir.filePath(QStringLiteral("pg_service.conf")); }
    // The teachers' passwords, one line each, mode 0600.
    QString passwordFile() const { return m_dir.filePath(QStringLiteral("pgpass")); }
    // A connection as the cluster's owner, who sees every row.
    QSqlDatabase owner();
    // The first column of the first row of `sql` as the owner, -1 on failure.
    qint64 count(const QString& sql, const QVariantList& values = {});
    // Stops and starts the cluster; false when pg_ctl failed.
    static bool stopServer();
    static bool startServer();

private:
    QString m_name;
    QString m_database;
    int m_pupils = 0;
    int m_teachers = 0;
    int m_classes = 0;
    QTemporaryDir m_dir;
    QString m_error;
};

} // namespace school
