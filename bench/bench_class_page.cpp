// SPDX-License-Identifier: GPL-3.0-or-later
// What a teacher waits for in the records window: the class page (every
// child by every kind), one child's page and its day's set, for a class of
// 35 child-years (tests/support/child_year.h, each copied with its sets
// spread over five kinds, Bairo's among them), read from
// - the records file (SQLite), kept under /tmp for the next run by schema
//   version and day;
// - a school's server, when the private PostgreSQL cluster of the test
//   command is there (scripts/test_server.sh; tests/support/school_server.h):
//   the file's rows copied in, read as a teacher.
// Median and 95th percentile of the runs.
// Usage: bench_class_page [runs]
#include "bench/bench_scale.h"
#include "records/reads/child_page.h"
#include "records/reads/class_page.h"
#include "records/reads/day_set.h"
#include "records/store/records_store.h"
#include "tests/support/child_year.h"
#include "tests/support/school_server.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

using namespace common::records;

namespace {

const int kClassSize = bench::sized(35, 3);
// The sets of the n-th child of the class have ids from n times this.
constexpr qint64 kSetIdStride = 1'000'000;

bool run(QSqlQuery& q, const QString& sql, const QVariantList& values = {})
{
    q.prepare(sql);
    for (const QVariant& v : values) q.addBindValue(v);
    return q.exec();
}

// One child-year through the store, then the class: a copy of it for every
// child, each of its sets one of five kinds in turn.
bool makeClass(const QString& folder, const QString& classFile)
{
    if (QFileInfo::exists(folder + QStringLiteral("/done"))) return true;
    QDir(folder).removeRecursively();
    const QString yearFile = folder + QStringLiteral("/year.sqlite");
    QElapsedTimer clock;
    clock.start();
    {
        RecordsStore year;
        qint64 child = 0;
        if (year.open(yearFile) != Opening::kOpened ||
            year.addChild(QStringLiteral("たろう"), &child) ||
            !test_support::writeChildYear(year, child, QDateTime::currentDateTimeUtc(),
                                          bench::sized(365, 3)))
            return false;
    }
    std::printf("child-year written in %.1f s\n", clock.restart() / 1000.0);
    RecordsStore group;
    if (group.open(classFile) != Opening::kOpened) return false;
    QSqlDatabase db = QSqlDatabase::database(group.connectionName());
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA synchronous=OFF")) ||
        !run(q, QStringLiteral("ATTACH ? AS year"), {yearFile}) || !db.transaction())
        return false;
    for (int c = 1; c <= kClassSize; ++c) {
        qint64 id = 0;
        const qint64 offset = c * kSetIdStride;
        if (group.addChild(QStringLiteral("子ども%1").arg(c), &id) ||
            !run(q,
                 QStringLiteral(
                     "INSERT INTO sets(id, child_id, program, choice, problem_count, started_at, "
                     "ended_at, score, first_tries, first_right, smaller_multiple_hints, "
                     "larger_divisor_hints, last_answered_at) SELECT id + ?, ?, "
                     "CASE id % 5 WHEN 4 THEN 'bairo' ELSE program END, "
                     "CASE id % 5 WHEN 1 THEN 'add:3' WHEN 2 THEN 'sub:4' "
                     "WHEN 3 THEN 'table:2,7+0' WHEN 4 THEN 'lcm:easy' ELSE choice END, "
                     "problem_count, started_at, ended_at, score, first_tries, first_right, "
                     "smaller_multiple_hints, larger_divisor_hints, last_answered_at "
                     "FROM year.sets"),
                 {offset, id}) ||
            !run(q,
                 QStringLiteral("INSERT INTO answers(set_id, position, fact, right_answer, typed, "
                                "attempt, correct, answer_shown, hint, elapsed_ms, answered_at) "
                                "SELECT set_id + ?, position, fact, right_answer, typed, attempt, "
                                "correct, answer_shown, hint, elapsed_ms, answered_at "
                                "FROM year.answers ORDER BY id"),
                 {offset}) ||
            !run(q,
                 QStringLiteral("INSERT INTO facts(child_id, fact, seen, first_try_right, streak, "
                                "last_seen, latest, last_missed, box, due, right_answer) "
                                "SELECT ?, fact, seen, first_try_right, streak, last_seen, "
                                "latest, last_missed, box, due, right_answer FROM year.facts"),
                 {id}))
            return false;
    }
    if (!db.commit()) return false;
    q.finish();
    if (!q.exec(QStringLiteral("DETACH year")) ||
        !q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")))
        return false;
    std::printf("class copied in %.1f s, %.1f MB\n", clock.elapsed() / 1000.0,
                QFileInfo(classFile).size() / 1e6);
    QFile done(folder + QStringLiteral("/done"));
    return done.open(QIODevice::WriteOnly);
}

// Every child, set, answer and fact of the file, and its mastery rule, into
// the school's database, ids and all, through psql (on PATH) as the tables'
// owner: each table's rows as CSV into COPY, far faster than INSERTs for a
// class's year. NULL is an empty field, every value is quoted.
bool copyRecords(const QString& file, school::SchoolDatabase& school, QString& error)
{
    QSqlDatabase from =
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("copied"));
    from.setDatabaseName(file);
    bool copied = from.open();
    // Each table with the statement that reads it whole.
    const std::pair<QString, QString> tables[] = {
        {QStringLiteral("children"), QStringLiteral("SELECT * FROM children")},
        {QStringLiteral("sets"), QStringLiteral("SELECT * FROM sets")},
        {QStringLiteral("answers"), QStringLiteral("SELECT * FROM answers")},
        {QStringLiteral("facts"), QStringLiteral("SELECT * FROM facts")},
        {QStringLiteral("rules"), QStringLiteral("SELECT * FROM rules")}};
    // The server's own rule makes way for the file's.
    copied = copied && QSqlQuery(school.owner()).exec(QStringLiteral("DELETE FROM rules"));
    for (const auto& [table, everyRow] : tables) {
        QSqlQuery rows(from);
        rows.setForwardOnly(true);
        if (!copied || !rows.exec(everyRow)) break;
        QStringList names;
        for (int c = 0; c < rows.record().count(); ++c) names << rows.record().fieldName(c);
        QProcess psql;
        psql.start(
            QStringLiteral("psql"),
            {QStringLiteral("-qXh"), qEnvironmentVariable("APP_TEST_PGHOST"), QStringLiteral("-p"),
             qEnvironmentVariable("APP_TEST_PGPORT"), QStringLiteral("-U"),
             qEnvironmentVariable("APP_TEST_PGUSER"), QStringLiteral("-v"),
             QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-d"), school.database(),
             QStringLiteral("-c"),
             QStringLiteral("COPY %1(%2) FROM STDIN (FORMAT csv)").arg(table, names.join(u','))});
        copied = psql.waitForStarted();
        QByteArray csv;
        while (copied && rows.next()) {
            for (int c = 0; c < names.size(); ++c) {
                if (c) csv += ',';
                if (rows.isNull(c)) continue;
                csv += '"' + rows.value(c).toString().toUtf8().replace('"', "\"\"") + '"';
            }
            csv += '\n';
            if (csv.size() > (1 << 20)) {
                psql.write(std::exchange(csv, {}));
                psql.waitForBytesWritten(-1);
            }
        }
        psql.write(csv);
        psql.closeWriteChannel();
        if (!psql.waitForFinished(-1) || psql.exitCode() != 0) {
            error = table + QStringLiteral(": ") + QString::fromLocal8Bit(psql.readAll());
            copied = false;
        }
    }
    if (!copied && error.isEmpty()) error = from.lastError().text();
    from.close();
    from = {};
    QSqlDatabase::removeDatabase(QStringLiteral("copied"));
    return copied;
}

qint64 count(RecordsStore& store, const QString& sql)
{
    QSqlQuery q(QSqlDatabase::database(store.connectionName()));
    return q.exec(sql) && q.next() ? q.value(0).toLongLong() : -1;
}

void measure(const char* what, int runs, const std::function<qsizetype()>& read)
{
    std::vector<double> ms;
    QElapsedTimer clock;
    qsizetype size = 0;
    for (int i = 0; i < runs; ++i) {
        clock.start();
        size = read();
        ms.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double q) { return ms[std::min(ms.size() - 1, size_t(q * ms.size()))]; };
    std::printf("%-44s %8.1f %8.1f %8lld\n", what, at(0.5), at(0.95), static_cast<long long>(size));
}

void measureBoth(const char* where, RecordsStore& store, int runs)
{
    std::printf("%s: %lld children, %lld sets, %lld answers\n", where,
                count(store, QStringLiteral("SELECT count(*) FROM children")),
                count(store, QStringLiteral("SELECT count(*) FROM sets")),
                count(store, QStringLiteral("SELECT count(*) FROM answers")));
    std::printf("%-44s %8s %8s %8s\n", "ms", "median", "p95", "items");
    const qint64 pupil = store.children().at(kClassSize / 2).id;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    measure("class page (cells)", runs, [&] {
        const ClassPage page = readClassPage(store.connection());
        return page.rows.size() * page.kinds.size();
    });
    measure("one child's page (facts)", runs,
            [&] { return readChildPage(store.connection(), pupil, now).facts.size(); });
    measure("one child's day's set (problems)", runs, [&] {
        const auto set = readDaySet(store.connection(), pupil, now.toLocalTime().date());
        return set ? set->problems.size() : qsizetype(-1);
    });
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const QString folder = QStringLiteral("/tmp/bench_class_page/v%1-%2%3")
                               .arg(schemaVersion())
                               .arg(QDate::currentDate().toString(Qt::ISODate),
                                    bench::smallest() ? QStringLiteral("-smallest") : QString());
    const QString classFile = folder + QStringLiteral("/class.sqlite");
    if (!makeClass(folder, classFile)) {
        std::printf("cannot make the class in %s\n", qPrintable(folder));
        return 1;
    }
    {
        RecordsStore file;
        if (file.open(classFile) != Opening::kOpened) return 1;
        measureBoth("records file", file, runs);
    }
    if (const QString missing = school::missingServer(); !missing.isEmpty()) {
        std::printf("the server is not timed: %s\n", qPrintable(missing));
        return 0;
    }
    school::SchoolDatabase server(QStringLiteral("bench_class"), 0, 1);
    qputenv("PGSERVICEFILE", server.serviceFile().toUtf8());
    qputenv("PGPASSFILE", server.passwordFile().toUtf8());
    QElapsedTimer clock;
    clock.start();
    QString error = server.error();
    if (!error.isEmpty() || !copyRecords(classFile, server, error) ||
        !QSqlQuery(server.owner()).exec(QStringLiteral("VACUUM ANALYZE"))) {
        std::printf("cannot fill the server: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("server filled in %.1f s\n", clock.elapsed() / 1000.0);
    // A teacher reads its pupils' paths too (the day's set follows them).
    if (!QSqlQuery(server.owner())
             .exec(QStringLiteral("GRANT SELECT ON paths, steps_passed TO numirabairo_teachers"))) {
        std::printf("cannot let the teacher read the paths\n");
        return 1;
    }
    RecordsStore asTeacher;
    if (asTeacher.openServer(server.teacherService(1)) != Opening::kOpened) {
        std::printf("cannot open the server: %s\n", qPrintable(asTeacher.errorText()));
        return 1;
    }
    measureBoth("school's server, as a teacher", asTeacher, runs);
    return 0;
}
