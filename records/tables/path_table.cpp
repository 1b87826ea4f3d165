// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/tables/path_table.h"

#include "records/model/day_plan.h"

#include <QHash>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace common::records {

namespace {

bool isGrade(std::optional<int> grade)
{
    return !grade || (*grade >= kFirstGrade && *grade <= kLastGrade);
}

QVariant gradeValue(std::optional<int> grade)
{
    return grade ? QVariant(*grade) : QVariant(QMetaType(QMetaType::Int));
}

} // namespace

std::optional<ChildPlan> readChildPlan(const Connection& connection, qint64 child)
{
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT grade, day_problems, \"placing\" FROM children WHERE id = ?"));
    q.addBindValue(child);
    if (!q.exec() || !q.next()) return std::nullopt;
    ChildPlan plan;
    if (!q.value(0).isNull()) plan.grade = q.value(0).toInt();
    plan.dayProblems = q.value(1).toInt();
    plan.placing = q.value(2).toInt() != 0;

    q.prepare(QStringLiteral("SELECT steps, pinned FROM paths WHERE child_id = ?"));
    q.addBindValue(child);
    if (!q.exec()) return std::nullopt;
    if (q.next()) {
        plan.path = parsePath(q.value(0).toString(), q.value(1).toString());
        plan.ownPath = true;
    } else {
        plan.path = defaultPath(plan.grade);
    }

    q.prepare(QStringLiteral("SELECT step, passed_on FROM steps_passed WHERE child_id = ?"));
    q.addBindValue(child);
    if (!q.exec()) return std::nullopt;
    // In the order passed: by day, and within a day (placement passes
    // several at once) in path order.
    QHash<QString, qsizetype> onPath;
    for (qsizetype i = 0; i < plan.path.steps.size(); ++i) onPath.insert(plan.path.steps[i].key, i);
    QList<std::pair<QString, QString>> passed;
    while (q.next()) passed.append({q.value(1).toString(), q.value(0).toString()});
    std::sort(passed.begin(), passed.end(), [&](const auto& a, const auto& b) {
        if (a.first != b.first) return a.first < b.first;
        const qsizetype ia = onPath.value(a.second, onPath.size());
        const qsizetype ib = onPath.value(b.second, onPath.size());
        return ia != ib ? ia < ib : a.second < b.second;
    });
    for (const auto& [day, step] : passed) plan.passed.append(step);
    return plan;
}

bool PathTable::setGrade(qint64 child, std::optional<int> grade)
{
    if (!isGrade(grade)) return false;
    // A child without a path of its own follows its year's default, which
    // is made from the year when read: nothing else to change.
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("UPDATE children SET grade = ? WHERE id = ?"));
    q.addBindValue(gradeValue(grade));
    q.addBindValue(child);
    if (!q.exec()) return m_connection.fail(QStringLiteral("cannot set the year"), q.lastError());
    return q.numRowsAffected() == 1;
}

bool PathTable::setDayProblems(qint64 child, int problems)
{
    if (std::find(std::begin(kDayProblemChoices), std::end(kDayProblemChoices), problems) ==
        std::end(kDayProblemChoices))
        return false;
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("UPDATE children SET day_problems = ? WHERE id = ?"));
    q.addBindValue(problems);
    q.addBindValue(child);
    if (!q.exec())
        return m_connection.fail(QStringLiteral("cannot set the day's length"), q.lastError());
    return q.numRowsAffected() == 1;
}

bool PathTable::setPath(qint64 child, const Path& path)
{
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("INSERT INTO paths(child_id, steps, pinned) VALUES(?, ?, ?) "
                             "ON CONFLICT (child_id) DO UPDATE SET steps = excluded.steps, "
                             "pinned = excluded.pinned"));
    q.addBindValue(child);
    q.addBindValue(pathText(path));
    q.addBindValue(path.pinned.isEmpty() ? QVariant(QMetaType(QMetaType::QString))
                                         : QVariant(path.pinned));
    return q.exec() || m_connection.fail(QStringLiteral("cannot set the path"), q.lastError());
}

bool PathTable::resetPath(qint64 child)
{
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("DELETE FROM paths WHERE child_id = ?"));
    q.addBindValue(child);
    return q.exec() || m_connection.fail(QStringLiteral("cannot reset the path"), q.lastError());
}

bool PathTable::markPassed(qint64 child, const QStringList& steps, const QDate& day,
                           bool byPlacement)
{
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("INSERT INTO steps_passed(child_id, step, passed_on, by_placement) "
                             "VALUES(?, ?, ?, ?) ON CONFLICT (child_id, step) DO NOTHING"));
    for (const QString& step : steps) {
        q.addBindValue(child);
        q.addBindValue(step);
        q.addBindValue(day.toString(Qt::ISODate));
        q.addBindValue(byPlacement ? 1 : 0);
        if (!q.exec())
            return m_connection.fail(QStringLiteral("cannot mark a step passed"), q.lastError());
    }
    return true;
}

bool PathTable::endPlacement(qint64 child)
{
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("UPDATE children SET \"placing\" = 0 WHERE id = ?"));
    q.addBindValue(child);
    return q.exec() || m_connection.fail(QStringLiteral("cannot end the placement"), q.lastError());
}

} // namespace common::records
