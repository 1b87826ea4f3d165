// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/reads/class_page.h"

#include "common/drill_rules.h"
#include "records/database/connection.h"
#include "records/model/path.h"
#include "records/tables/fact_rows.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace common::records {

namespace {

// Each child's share of fluent recall facts, from the whole class's fact
// rows read once: the keying of each child from its own rows first, then
// each fact's state against the limit it gives.
void readFluency(const Connection& connection, const QHash<qint64, qsizetype>& rowOf,
                 ClassPage& page)
{
    const MasteryRule rule = readRule(connection.database());
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QHash<qint64, int> baseOf;
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT id, base_limit_ms FROM children"))) return;
    while (q.next()) baseOf.insert(q.value(0).toLongLong(), baseLimitStep(q.value(1).toInt()));
    struct Row {
        QString fact, answer, latest, lastMissed;
        QList<qint64> times;
    };
    QHash<qint64, QList<Row>> rowsOf;
    if (!q.exec(QStringLiteral("SELECT child_id, fact, right_answer, latest, last_missed, "
                               "right_times FROM facts "
                               "WHERE substr(fact, 1, 4) IN ('add:', 'sub:', 'mul:', 'div:', "
                               "'key:')")))
        return;
    while (q.next())
        rowsOf[q.value(0).toLongLong()].append({q.value(1).toString(), q.value(2).toString(),
                                                q.value(3).toString(), q.value(4).toString(),
                                                parseRightTimes(q.value(5).toString())});
    for (auto child = rowsOf.cbegin(); child != rowsOf.cend(); ++child) {
        const qsizetype at = rowOf.value(child.key(), -1);
        if (at < 0) continue;
        QList<TimedAnswer> tries;
        for (const Row& r : child.value())
            for (const qint64 ms : r.times) tries.append({r.fact, r.answer, ms});
        const Pace pace{baseOf.value(child.key(), kDefaultBaseLimitMs), keyMs(tries)};
        ClassRow& row = page.rows[at];
        for (const Row& r : child.value()) {
            if (!isRecallFact(r.fact)) continue;
            const FactState accuracy = factState(
                parseFirstTries(r.latest),
                r.lastMissed.isEmpty() ? QDateTime()
                                       : QDateTime::fromString(r.lastMissed, Qt::ISODateWithMs),
                rule, now);
            ++row.recallFacts;
            if (fluentState(accuracy, rule, r.fact, r.answer, r.times, pace) ==
                FactState::kMastered)
                ++row.fluentFacts;
        }
    }
}

// Each child's step, from the whole class's paths and passed steps read
// once: a class's path (on a school's server) before the child's own, the
// child's own before its year's.
void readSteps(const Connection& connection, const QHash<qint64, qsizetype>& rowOf, ClassPage& page)
{
    QHash<qint64, Path> pathOf;
    QHash<qint64, QStringList> passedOf;
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT id, grade FROM children"))) return;
    while (q.next())
        pathOf.insert(q.value(0).toLongLong(),
                      defaultPath(q.value(1).isNull() ? std::nullopt
                                                      : std::optional<int>(q.value(1).toInt())));
    if (!q.exec(QStringLiteral("SELECT child_id, steps, pinned FROM paths"))) return;
    while (q.next())
        pathOf.insert(q.value(0).toLongLong(),
                      parsePath(q.value(1).toString(), q.value(2).toString()));
    // A pupil in several classes follows the first by role, as its drill
    // does: the later ones are read first and overwritten.
    if (connection.dialect().where() == Dialect::Where::kServer) {
        if (!q.exec(QStringLiteral("SELECT c.id, cp.steps, cp.pinned FROM children c "
                                   "JOIN pg_roles p ON p.rolname::text = c.login "
                                   "JOIN pg_auth_members m ON m.member = p.oid "
                                   "JOIN pg_roles k ON k.oid = m.roleid "
                                   "JOIN class_paths cp ON cp.class_role = k.rolname::text "
                                   "ORDER BY cp.class_role DESC")))
            return;
        while (q.next())
            pathOf.insert(q.value(0).toLongLong(),
                          parsePath(q.value(1).toString(), q.value(2).toString()));
    }
    if (!q.exec(QStringLiteral("SELECT child_id, step FROM steps_passed"))) return;
    while (q.next()) passedOf[q.value(0).toLongLong()].append(q.value(1).toString());
    for (auto child = pathOf.cbegin(); child != pathOf.cend(); ++child) {
        const qsizetype at = rowOf.value(child.key(), -1);
        if (at >= 0) page.rows[at].step = currentStep(child.value(), passedOf.value(child.key()));
    }
}

// The local days of this week, Monday to `today`, on which each child ended
// a day's set with every problem answered.
void readWeekMarks(const Connection& connection, const QHash<qint64, qsizetype>& rowOf,
                   const QDate& today, ClassPage& page)
{
    const QDate monday = today.addDays(1 - today.dayOfWeek());
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    // A day's set counts on the day it ended, as the child's own marks do.
    q.prepare(QStringLiteral("SELECT child_id, ended_at FROM sets "
                             "WHERE substr(choice, 1, ?) = ? AND ended_at IS NOT NULL "
                             "AND first_tries >= problem_count "
                             "AND ended_at >= ? AND ended_at < ?"));
    const QString dayChoice = DaySet{}.choice();
    q.addBindValue(dayChoice.size());
    q.addBindValue(dayChoice);
    q.addBindValue(utcText(monday.startOfDay()));
    q.addBindValue(utcText(today.addDays(1).startOfDay()));
    if (!q.exec()) return;
    QHash<qint64, QSet<QDate>> daysOf;
    while (q.next())
        daysOf[q.value(0).toLongLong()].insert(
            QDateTime::fromString(q.value(1).toString(), Qt::ISODateWithMs).toLocalTime().date());
    for (auto child = daysOf.cbegin(); child != daysOf.cend(); ++child) {
        const qsizetype at = rowOf.value(child.key(), -1);
        if (at >= 0) page.rows[at].markedDaysThisWeek = int(child.value().size());
    }
}

} // namespace

ClassPage readClassPage(const Connection& connection, const QDate& today)
{
    ClassPage page;
    QHash<qint64, qsizetype> rowOf;
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT id, nickname FROM children ORDER BY id"))) return page;
    while (q.next()) {
        rowOf.insert(q.value(0).toLongLong(), page.rows.size());
        ClassRow row;
        row.child = q.value(0).toLongLong();
        row.nickname = q.value(1).toString();
        page.rows.append(row);
    }
    readFluency(connection, rowOf, page);
    readSteps(connection, rowOf, page);
    readWeekMarks(connection, rowOf, today, page);
    // The kinds are sorted here, not by the database, so that a server's
    // collation cannot order them differently from the file.
    QList<KindSummary> found;
    QList<qint64> foundFor;
    if (!q.exec(QStringLiteral("SELECT child_id, program, choice, count(*), sum(first_tries), "
                               "sum(first_right), max(last_answered_at) "
                               "FROM sets WHERE choice <> 'keying' "
                               "GROUP BY child_id, program, choice")))
        return page;
    while (q.next()) {
        KindSummary k;
        k.program = q.value(1).toString();
        k.choice = q.value(2).toString();
        k.sets = q.value(3).toInt();
        k.problems = q.value(4).toInt();
        k.firstTryPercent = firstTryPercent(q.value(5).toInt(), k.problems);
        k.lastPractised = QDateTime::fromString(q.value(6).toString(), Qt::ISODateWithMs);
        found.append(k);
        foundFor.append(q.value(0).toLongLong());
        const ClassKind kind{k.program, k.choice};
        if (!page.kinds.contains(kind)) page.kinds.append(kind);
    }
    std::sort(page.kinds.begin(), page.kinds.end(), [](const ClassKind& a, const ClassKind& b) {
        return a.program != b.program ? a.program < b.program : a.choice < b.choice;
    });
    for (ClassRow& row : page.rows) {
        row.kinds.resize(page.kinds.size());
        for (qsizetype i = 0; i < page.kinds.size(); ++i) {
            row.kinds[i].program = page.kinds[i].program;
            row.kinds[i].choice = page.kinds[i].choice;
        }
    }
    for (qsizetype i = 0; i < found.size(); ++i) {
        const qsizetype row = rowOf.value(foundFor[i], -1);
        if (row < 0) continue;
        const qsizetype column = page.kinds.indexOf(ClassKind{found[i].program, found[i].choice});
        page.rows[row].kinds[column] = found[i];
    }
    return page;
}

} // namespace common::records
