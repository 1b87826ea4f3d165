// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/reads/path_page.h"

#include "records/database/connection.h"
#include "records/model/path.h"
#include "records/reads/day_set.h"
#include "records/tables/path_table.h"

#include <QSqlQuery>

namespace common::records {

std::optional<PathPage> readPathPage(const Connection& connection, qint64 child, const QDate& today)
{
    const std::optional<ChildPlan> plan = readChildPlan(connection, child);
    if (!plan) return std::nullopt;
    std::optional<DayMarks> marks = readDayMarks(connection, child, today);
    if (!marks) return std::nullopt;
    PathPage page;
    page.current = currentStep(plan->path, plan->passed);
    page.placing = plan->placing;
    page.marks = std::move(*marks);

    QSqlQuery q(connection.database());
    q.prepare(QStringLiteral("SELECT step, passed_on, by_placement FROM steps_passed "
                             "WHERE child_id = ? ORDER BY passed_on, step"));
    q.addBindValue(child);
    if (!q.exec()) return std::nullopt;
    while (q.next())
        page.passed.append({q.value(0).toString(),
                            QDate::fromString(q.value(1).toString(), Qt::ISODate),
                            q.value(2).toInt() != 0});
    return page;
}

} // namespace common::records
