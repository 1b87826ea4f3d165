// SPDX-License-Identifier: GPL-3.0-or-later
// What the records window waits for when it shows a child: the times-table
// grid, the whole child page, a review set and the day's set, read from
// - a child-year: 100 answers a day for the 365 days up to today, written
//   through the store as the drills write them (times tables mostly, a kind
//   of sums, subtractions or divisions a day, one Bairo set, about a fifth of
//   the first tries missed and retried);
// - a class: 35 such child-years in one file, the days interleaved as a
//   shared computer would write them (1.28 million answers).
// Both files are kept under /tmp for the next run, by schema version and day.
// It also times a CSV export of one child of the class, and the opening of
// the class file with and without the page-by-page check.
// Usage: bench_records_page [runs]
#include "bench/bench_scale.h"
#include "records/reads/answers_csv.h"
#include "records/reads/child_page.h"
#include "records/reads/day_set.h"
#include "records/reads/review.h"
#include "records/store/records_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlQuery>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <numeric>
#include <random>
#include <vector>

using namespace common::records;

namespace {

const int kDays = bench::sized(365, 3);
constexpr int kAnswersPerDay = 100;
constexpr int kSetsPerDay = 5;
const int kClassSize = bench::sized(35, 3);
// Set ids of the n-th child of the class start at n times this.
constexpr qint64 kSetIdStride = 1'000'000;

struct Problem {
    QString fact, right;
    double missChance = 0.15;
};

// A problem of a set of the given choice, with the chance a child misses it.
Problem drawProblem(const QString& choice, std::mt19937& random)
{
    const auto draw = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    if (choice.startsWith(u"table:")) {
        const QList<int> rows{2, 3, 4, 6, 7, 8, 9};
        const int a = choice == u"table:2,7+0" ? (draw(0, 1) ? 2 : 7) : rows[draw(0, 6)];
        const int b = draw(0, 9);
        // The products of the upper rows are missed most.
        return {QStringLiteral("mul:%1x%2").arg(a).arg(b), QString::number(a * b),
                a >= 6 && b >= 6 ? 0.4 : 0.1};
    }
    if (choice == u"add:3") {
        const int a = draw(10, 99), b = draw(10, 99);
        return {QStringLiteral("add:%1+%2").arg(a).arg(b), QString::number(a + b), 0.15};
    }
    if (choice == u"sub:4") {
        const int a = draw(50, 99), b = draw(11, a - 1);
        return {QStringLiteral("sub:%1.%2-%3.%4").arg(a / 10).arg(a % 10).arg(b / 10).arg(b % 10),
                QStringLiteral("%1.%2").arg((a - b) / 10).arg((a - b) % 10), 0.25};
    }
    if (choice == u"div:5") {
        const int a = draw(10, 99), b = draw(2, 9);
        return {QStringLiteral("div:%1/%2").arg(a).arg(b),
                QStringLiteral("%1...%2").arg(a / b).arg(a % b), 0.3};
    }
    const int a = draw(2, 12), b = draw(2, 12);
    if (choice.startsWith(u"lcm"))
        return {QStringLiteral("lcm:%1,%2").arg(a).arg(b), QString::number(std::lcm(a, b)), 0.3};
    return {QStringLiteral("gcd:%1,%2").arg(a * 2).arg(b * 2),
            QString::number(std::gcd(a * 2, b * 2)), 0.3};
}

// Half of Bairo's misses are near ones, told as such.
QString hintFor(const QString& choice, bool correct)
{
    static int misses = 0;
    if (correct || !(choice.startsWith(u"lcm") || choice.startsWith(u"gcd")) || ++misses % 2)
        return {};
    return choice.startsWith(u"lcm") ? QStringLiteral("smaller-multiple")
                                     : QStringLiteral("larger-divisor");
}

// One child's year through the store, answer by answer. The first set id of
// every day, and the id after the last set, in `dayStarts`.
bool writeYear(RecordsStore& store, qint64 child, const QDate& today,
               std::vector<qint64>& dayStarts)
{
    QSqlQuery(QSqlDatabase::database(store.connectionName()))
        .exec(QStringLiteral("PRAGMA synchronous=OFF"));
    std::mt19937 random(20240615);
    std::uniform_real_distribution<double> chance(0, 1);
    const QStringList others{QStringLiteral("add:3"), QStringLiteral("sub:4"),
                             QStringLiteral("div:5")};
    qint64 lastSet = 0;
    for (int d = 0; d < kDays; ++d) {
        const QDate day = today.addDays(d - kDays + 1);
        const QStringList choices{QStringLiteral("table:2,7+0"), QStringLiteral("table:1-9"),
                                  QStringLiteral("table:1-9"), others[d % 3],
                                  d % 2 ? QStringLiteral("lcm:easy") : QStringLiteral("gcd:easy")};
        dayStarts.push_back(lastSet + 1);
        for (int s = 0; s < kSetsPerDay; ++s) {
            const QString& choice = choices[s];
            const common::SetRecord set{
                choice.startsWith(u"lcm") || choice.startsWith(u"gcd") ? QStringLiteral("bairo")
                                                                       : QStringLiteral("numira"),
                choice == u"table:1-9" ? QStringLiteral("table:2,3,4,6,7,8,9") : choice,
                20,
                {}};
            qint64 setId = 0;
            QDateTime when(day, QTime(16, s * 10));
            int position = 0;
            for (int written = 0; written < kAnswersPerDay / kSetsPerDay;) {
                const Problem p = drawProblem(choice, random);
                ++position;
                for (int attempt = 1; written < kAnswersPerDay / kSetsPerDay; ++attempt) {
                    const bool correct = attempt > 1 || chance(random) >= p.missChance;
                    const qint64 elapsed = 1500 + qint64(chance(random) * 6000);
                    when = when.addMSecs(elapsed);
                    common::AnswerRecord a;
                    a.position = position;
                    a.fact = p.fact;
                    a.rightAnswer = p.right;
                    a.typed = correct ? p.right : p.right + u'1';
                    a.attempt = attempt;
                    a.correct = correct;
                    a.hint = hintFor(choice, correct);
                    a.elapsedMs = elapsed;
                    a.answeredAt = when.toUTC();
                    if (!store.recordAnswer(child, set, setId, a)) return false;
                    ++written;
                    if (correct) break;
                }
            }
            store.endSet(setId, 80, when.toUTC());
            lastSet = setId;
        }
    }
    dayStarts.push_back(lastSet + 1);
    return true;
}

// The class: each child's copy of the year, day by day in turn, one
// transaction a day, straight from the year's file.
bool writeClass(RecordsStore& store, const QString& yearFile, const std::vector<qint64>& dayStarts)
{
    QSqlDatabase db = QSqlDatabase::database(store.connectionName());
    QSqlQuery q(db);
    q.exec(QStringLiteral("PRAGMA synchronous=OFF"));
    q.prepare(QStringLiteral("ATTACH ? AS year"));
    q.addBindValue(yearFile);
    if (!q.exec()) return false;
    std::vector<qint64> children;
    for (int c = 0; c < kClassSize; ++c) {
        qint64 id = 0;
        if (store.addChild(QStringLiteral("子ども%1").arg(c + 1), &id)) return false;
        children.push_back(id);
    }
    const auto run = [&](const QString& sql, const QVariantList& values) {
        q.prepare(sql);
        for (const QVariant& v : values) q.addBindValue(v);
        return q.exec();
    };
    for (size_t d = 0; d + 1 < dayStarts.size(); ++d) {
        if (!db.transaction()) return false;
        for (int c = 0; c < kClassSize; ++c) {
            const qint64 offset = (c + 1) * kSetIdStride;
            // Columns named on both sides, so that a later migration's
            // column (uid, unique where set) keeps its default in the copy.
            if (!run(QStringLiteral("INSERT INTO sets(id, child_id, program, choice, "
                                    "problem_count, started_at, ended_at, score, first_tries, "
                                    "first_right, smaller_multiple_hints, larger_divisor_hints, "
                                    "last_answered_at) SELECT id + ?, ?, program, choice, "
                                    "problem_count, started_at, ended_at, score, first_tries, "
                                    "first_right, smaller_multiple_hints, larger_divisor_hints, "
                                    "last_answered_at FROM year.sets WHERE id >= ? AND id < ?"),
                     {offset, children[c], dayStarts[d], dayStarts[d + 1]}) ||
                !run(QStringLiteral("INSERT INTO answers(set_id, position, fact, right_answer, "
                                    "typed, attempt, correct, answer_shown, hint, elapsed_ms, "
                                    "answered_at) SELECT set_id + ?, position, fact, "
                                    "right_answer, typed, attempt, correct, answer_shown, hint, "
                                    "elapsed_ms, answered_at FROM year.answers "
                                    "WHERE set_id >= ? AND set_id < ? ORDER BY id"),
                     {offset, dayStarts[d], dayStarts[d + 1]}))
                return false;
        }
        if (!db.commit()) return false;
    }
    for (const qint64 child : children)
        if (!run(QStringLiteral("INSERT INTO facts(child_id, fact, seen, first_try_right, streak, "
                                "last_seen, latest, last_missed, box, due, right_answer) "
                                "SELECT ?, fact, seen, first_try_right, streak, "
                                "last_seen, latest, last_missed, box, due, right_answer "
                                "FROM year.facts"),
                 {child}))
            return false;
    q.finish();
    return QSqlQuery(db).exec(QStringLiteral("DETACH year"));
}

bool checkpointed(RecordsStore& store)
{
    return QSqlQuery(QSqlDatabase::database(store.connectionName()))
        .exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
}

// The files, made unless an earlier run of the same schema made them today.
bool makeFiles(const QString& folder, const QString& yearFile, const QString& classFile)
{
    if (QFileInfo::exists(folder + QStringLiteral("/done"))) return true;
    QDir(folder).removeRecursively();
    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> dayStarts;
    {
        RecordsStore year;
        qint64 child = 0;
        if (year.open(yearFile) != Opening::kOpened ||
            year.addChild(QStringLiteral("たろう"), &child) ||
            !writeYear(year, child, QDate::currentDate(), dayStarts) || !checkpointed(year))
            return false;
    }
    std::printf("child-year written through the store in %.1f s, %.1f MB\n",
                clock.restart() / 1000.0, QFileInfo(yearFile).size() / 1e6);
    {
        RecordsStore group;
        if (group.open(classFile) != Opening::kOpened || !writeClass(group, yearFile, dayStarts) ||
            !checkpointed(group))
            return false;
    }
    std::printf("class copied in %.1f s, %.1f MB\n", clock.elapsed() / 1000.0,
                QFileInfo(classFile).size() / 1e6);
    QFile done(folder + QStringLiteral("/done"));
    return done.open(QIODevice::WriteOnly);
}

qint64 count(RecordsStore& store, const QString& sql)
{
    QSqlQuery q(QSqlDatabase::database(store.connectionName()));
    q.exec(sql);
    return q.next() ? q.value(0).toLongLong() : -1;
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
    const double first = ms.front();
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double q) { return ms[std::min(ms.size() - 1, size_t(q * ms.size()))]; };
    std::printf("%-44s %8.2f %8.2f %8.2f %8lld\n", what, at(0.5), at(0.95), first,
                static_cast<long long>(size));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const QString folder = QStringLiteral("/tmp/bench_records_page/v%1-%2%3")
                               .arg(schemaVersion())
                               .arg(QDate::currentDate().toString(Qt::ISODate),
                                    bench::smallest() ? QStringLiteral("-smallest") : QString());
    const QString yearFile = folder + QStringLiteral("/year.sqlite");
    const QString classFile = folder + QStringLiteral("/class.sqlite");
    if (!makeFiles(folder, yearFile, classFile)) {
        std::printf("cannot make the files in %s\n", qPrintable(folder));
        return 1;
    }

    RecordsStore year, group;
    if (year.open(yearFile) != Opening::kOpened || group.open(classFile) != Opening::kOpened)
        return 1;
    std::printf("child-year: %lld answers, %lld facts; class: %lld answers, %lld children\n",
                count(year, QStringLiteral("SELECT count(*) FROM answers")),
                count(year, QStringLiteral("SELECT count(*) FROM facts")),
                count(group, QStringLiteral("SELECT count(*) FROM answers")),
                count(group, QStringLiteral("SELECT count(*) FROM children")));
    const qint64 child = year.children().first().id;
    const qint64 pupil = group.children().at(kClassSize / 2).id;
    const QDateTime now = QDateTime::currentDateTime();
    std::printf("%-44s %8s %8s %8s %8s\n", "ms", "median", "p95", "first", "items");
    measure("times-table facts, child-year", runs,
            [&] { return readTableFacts(year.connection(), child, now).size(); });
    measure("child page, child-year", runs,
            [&] { return readChildPage(year.connection(), child, now).facts.size(); });
    measure("child page, one child of the class", runs,
            [&] { return readChildPage(group.connection(), pupil, now).facts.size(); });
    measure("times-table facts, one child of the class", runs,
            [&] { return readTableFacts(group.connection(), pupil, now).size(); });
    quint32 seed = 0;
    measure("review set, child-year", runs,
            [&] { return readReviewSet(year.connection(), child, now.date(), ++seed).size(); });
    measure("review set, one child of the class", runs,
            [&] { return readReviewSet(group.connection(), pupil, now.date(), ++seed).size(); });
    measure("day's set, child-year", runs, [&] {
        const auto set = readDaySet(year.connection(), child, now.date());
        return set ? set->problems.size() + set->procedureCount : qsizetype(-1);
    });
    measure("CSV export, one child of the class", runs,
            [&] { return answersCsv(group.connection(), pupil).size(); });
    // Opening the class file, as the records window and its command line do:
    // at once after a clean close, and page by page after a damage was met.
    for (const bool damageMet : {false, true}) {
        measure(damageMet ? "opening the class file, checked whole" : "opening the class file",
                std::max(1, runs / 4), [&] {
                    if (damageMet)
                        QFile(classFile + QStringLiteral(".check")).open(QIODevice::WriteOnly);
                    RecordsStore store;
                    return qsizetype(store.open(classFile) == Opening::kOpened);
                });
    }
    return 0;
}
