// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the statements that make a school's records server, the very ones
// the tests run, as one SQL file for psql: what an administrator runs on a
// new database, and again on the same database after each new version of
// the programs, to bring it up to date. The file names the place it is
// installed at, so that its header tells how to run it from there.
//
//   server_schema <output file> <installed path>

#include "common/version.h"
#include "records/database/migrations.h"

#include <QCoreApplication>
#include <QSaveFile>

#include <cstdio>

namespace {

QString header(const QString& installedPath)
{
    return QStringLiteral(
               "-- The records server of a school for the drills numira and bairo and the\n"
               "-- records window kiroku, version %1 (records version %2).\n"
               "--\n"
               "-- Run it on a new empty database, as the role that is to own the\n"
               "-- tables (no superuser), and again after each new version of the\n"
               "-- programs, as the same role, to bring the database up to date:\n"
               "--\n"
               "--   psql -v ON_ERROR_STOP=1 -d DBNAME -f %3\n"
               "--\n"
               "-- or as postgres, with -c 'SET ROLE OWNER' before the -f.\n"
               "--\n"
               "-- It makes the tables, the version row, the groups %4,\n"
               "-- %5 and %6 when they are missing (making them\n"
               "-- needs CREATEROLE: without it a superuser makes the three first, as\n"
               "-- NOLOGIN roles), the row-level security by which a pupil's role reads\n"
               "-- and writes its own rows alone, a teacher's reads the pupils of its\n"
               "-- classes (the group roles registered in the table classes) and a head\n"
               "-- teacher's every pupil, and the grants to the groups. On a database\n"
               "-- made by an earlier version it adds\n"
               "-- only what that version lacks, keeping every row; on a current one it\n"
               "-- does nothing. Everything is done in one transaction: a failure\n"
               "-- leaves nothing half made.\n\n")
        .arg(QLatin1String(common::kPackageVersion))
        .arg(common::records::migrations().size())
        .arg(installedPath, QLatin1String(common::records::kPupilsGroup),
             QLatin1String(common::records::kTeachersGroup),
             QLatin1String(common::records::kHeadsGroup));
}

// A database is new when it has no version table; the new one is made
// whole, as below.
constexpr char kIfNew[] =
    "-- A database without the records' version table is new: everything is made.\n"
    "SELECT to_regclass('records_version') IS NULL AS records_new \\gset\n"
    "\\if :records_new\n\n";

// One made before is brought up from the version its row holds: each
// migration it lacks, in order, each putting the version one up. The
// version is read once, with the table locked until the commit, so that
// two administrators running it at once take turns.
QString upgrade()
{
    const auto migrations = common::records::migrations();
    QString sql =
        QStringLiteral("\\else\n\n"
                       "-- Made by an earlier version: only the migrations its version lacks.\n"
                       "LOCK TABLE records_version;\n"
                       "SELECT ");
    for (std::size_t v = 1; v <= migrations.size(); ++v)
        sql += QStringLiteral("%1version < %2 AS records_lacks_%2")
                   .arg(v == 1 ? QString() : QStringLiteral(",\n       "))
                   .arg(v);
    sql += QStringLiteral("\n  FROM records_version \\gset\n\n");
    for (std::size_t v = 1; v <= migrations.size(); ++v) {
        sql += QStringLiteral("\\if :records_lacks_%1\n\n").arg(v);
        for (const QString& statement : common::records::serverStatements(migrations[v - 1]))
            sql += statement + QStringLiteral(";\n\n");
        sql += QStringLiteral("\\endif\n");
    }
    return sql + QStringLiteral("\n\\endif\n\n");
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: server_schema <output file> <installed path>\n");
        return 2;
    }
    // psql stops at the first error even when run without -v ON_ERROR_STOP=1,
    // and then the transaction is never committed.
    QString sql = header(args[2]) + QStringLiteral("\\set ON_ERROR_STOP on\n\nBEGIN;\n\n") +
                  QLatin1String(kIfNew);
    for (const QString& statement : common::records::serverSchema())
        sql += statement + QStringLiteral(";\n\n");
    sql += upgrade() + QStringLiteral("COMMIT;\n");

    QSaveFile file(args[1]);
    if (!file.open(QIODevice::WriteOnly) || file.write(sql.toUtf8()) < 0 || !file.commit()) {
        std::fprintf(stderr, "server_schema: cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
