// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/reads/class_page.h"

#include "common/drill_rules.h"
#include "records/database/connection.h"
#include "records/tables/fact_rows.h"

#include <QHash>
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

} // namespace

ClassPage readClassPage(const Connection& connection)
{
    ClassPage page;
    QHash<qint64, qsizetype> rowOf;
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT id, nickname FROM children ORDER BY id"))) return page;
    while (q.next()) {
        rowOf.insert(q.value(0).toLongLong(), page.rows.size());
        page.rows.append({q.value(0).toLongLong(), q.value(1).toString(), {}});
    }
    readFluency(connection, rowOf, page);
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
