// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/reads/class_page.h"

#include "common/drill_rules.h"
#include "records/database/connection.h"

#include <QHash>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace common::records {

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
    // The kinds are sorted here, not by the database, so that a server's
    // collation cannot order them differently from the file.
    QList<KindSummary> found;
    QList<qint64> foundFor;
    if (!q.exec(QStringLiteral("SELECT child_id, program, choice, count(*), sum(first_tries), "
                               "sum(first_right), max(last_answered_at) "
                               "FROM sets GROUP BY child_id, program, choice")))
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
