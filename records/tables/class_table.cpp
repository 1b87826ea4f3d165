// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/tables/class_table.h"

#include "records/database/migrations.h"

#include <QVariant>

#include <algorithm>

namespace common::records {

namespace {

bool onServer(const Connection& connection)
{
    return connection.dialect().where() == Dialect::Where::kServer;
}

QVariant pinnedValue(const Path& path)
{
    return path.pinned.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : path.pinned;
}

ClassPath classPathOf(const QSqlQuery& q)
{
    ClassPath read;
    read.path = parsePath(q.value(0).toString(), q.value(1).toString());
    read.dayProblems = q.value(2).toInt();
    read.set = true;
    return read;
}

} // namespace

std::optional<QList<SchoolClass>> ClassTable::classes()
{
    QList<SchoolClass> list;
    if (!onServer(m_connection)) return list;
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("SELECT role, name FROM classes "
                             "WHERE role IN (SELECT numirabairo_own_classes()) "
                             "OR pg_has_role(current_user, ?, 'MEMBER') ORDER BY name, role"));
    q.addBindValue(QString::fromLatin1(kHeadsGroup));
    if (!q.exec()) {
        m_connection.fail(QStringLiteral("cannot read the classes"), q.lastError());
        return std::nullopt;
    }
    while (q.next()) list.append({q.value(0).toString(), q.value(1).toString()});
    return list;
}

std::optional<ClassPath> ClassTable::classPath(const QString& role)
{
    const auto readable = classes();
    if (!readable) return std::nullopt;
    if (std::none_of(readable->cbegin(), readable->cend(),
                     [&](const SchoolClass& c) { return c.role == role; })) {
        m_connection.fail(QStringLiteral("cannot read the class ") + role);
        return std::nullopt;
    }
    QSqlQuery q(m_connection.database());
    q.prepare(
        QStringLiteral("SELECT steps, pinned, day_problems FROM class_paths WHERE class_role = ?"));
    q.addBindValue(role);
    if (!q.exec()) {
        m_connection.fail(QStringLiteral("cannot read the class's path"), q.lastError());
        return std::nullopt;
    }
    if (q.next()) return classPathOf(q);
    return ClassPath{defaultPath(std::nullopt), kDefaultDayProblems, false};
}

bool ClassTable::setClassPath(const QString& role, const ClassPath& path)
{
    if (std::find(std::begin(kDayProblemChoices), std::end(kDayProblemChoices), path.dayProblems) ==
        std::end(kDayProblemChoices))
        return m_connection.fail(QStringLiteral("not a day's length"));
    QSqlQuery q(m_connection.database());
    // Row-level security checks the row both ways: a class the role does
    // not teach is refused as a new row and as one changed.
    q.prepare(QStringLiteral(
        "INSERT INTO class_paths(class_role, steps, pinned, day_problems) VALUES(?, ?, ?, ?) "
        "ON CONFLICT (class_role) DO UPDATE SET steps = excluded.steps, "
        "pinned = excluded.pinned, day_problems = excluded.day_problems"));
    q.addBindValue(role);
    q.addBindValue(pathText(path.path));
    q.addBindValue(pinnedValue(path.path));
    q.addBindValue(path.dayProblems);
    return q.exec() ||
           m_connection.fail(QStringLiteral("cannot set the class's path"), q.lastError());
}

bool ClassTable::resetClassPath(const QString& role)
{
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("DELETE FROM class_paths WHERE class_role = ?"));
    q.addBindValue(role);
    return q.exec() ||
           m_connection.fail(QStringLiteral("cannot reset the class's path"), q.lastError());
}

std::optional<std::optional<ClassPath>> ClassTable::pupilsClassPath()
{
    // The pupil reads its own classes' rows alone.
    QSqlQuery& q = m_connection.prepared(QStringLiteral(
        "SELECT steps, pinned, day_problems FROM class_paths ORDER BY class_role LIMIT 1"));
    if (!q.exec()) {
        m_connection.fail(QStringLiteral("cannot read the class's path"), q.lastError());
        return std::nullopt;
    }
    std::optional<ClassPath> found;
    if (q.next()) found = classPathOf(q);
    q.finish();
    return found;
}

bool ClassTable::keepClassPath(qint64 child, const ClassPath& path)
{
    const QString steps = pathText(path.path);
    const QVariant pinned = pinnedValue(path.path);
    QSqlQuery& kept = m_connection.prepared(QStringLiteral(
        "INSERT INTO paths(child_id, steps, pinned) VALUES(?, ?, ?) "
        "ON CONFLICT (child_id) DO UPDATE SET steps = excluded.steps, pinned = excluded.pinned "
        "WHERE paths.steps IS NOT excluded.steps OR paths.pinned IS NOT excluded.pinned"));
    kept.addBindValue(child);
    kept.addBindValue(steps);
    kept.addBindValue(pinned);
    if (!kept.exec())
        return m_connection.fail(QStringLiteral("cannot keep the class's path"), kept.lastError());
    QSqlQuery& length = m_connection.prepared(
        QStringLiteral("UPDATE children SET day_problems = ? WHERE id = ? AND day_problems <> ?"));
    length.addBindValue(path.dayProblems);
    length.addBindValue(child);
    length.addBindValue(path.dayProblems);
    return length.exec() ||
           m_connection.fail(QStringLiteral("cannot keep the class's day"), length.lastError());
}

bool ClassTable::takePassed(qint64 child, const PassedStep& passed)
{
    QSqlQuery& q = m_connection.prepared(
        QStringLiteral("INSERT INTO steps_passed(child_id, step, passed_on, by_placement) "
                       "VALUES(?, ?, ?, ?) ON CONFLICT (child_id, step) DO NOTHING"));
    q.addBindValue(child);
    q.addBindValue(passed.step);
    q.addBindValue(passed.passedOn);
    q.addBindValue(passed.byPlacement ? 1 : 0);
    return q.exec() ||
           m_connection.fail(QStringLiteral("cannot send a passed step"), q.lastError());
}

} // namespace common::records
