// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/tables/children_table.h"

#include "records/messages/records_messages.h"
#include "records/model/fluency.h"
#include "records/model/nickname.h"

#include <QDateTime>
#include <QVariant>

namespace common::records {

namespace {

QString now() { return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs); }

} // namespace

QList<Child> ChildrenTable::all() const
{
    QList<Child> list;
    QSqlQuery q(m_connection.database());
    if (!q.exec(QStringLiteral("SELECT id, nickname FROM children ORDER BY id"))) return list;
    while (q.next()) list.append({q.value(0).toLongLong(), q.value(1).toString()});
    return list;
}

std::optional<QString> ChildrenTable::add(const QString& nickname, qint64* id)
{
    if (const auto problem = nicknameProblem(nickname)) return problem;
    const QString name = trimmedNickname(nickname);
    for (const Child& c : all())
        if (c.nickname == name) return messages::duplicateNickname(name);
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("INSERT INTO children(nickname, created_at) VALUES(?, ?)"));
    q.addBindValue(name);
    q.addBindValue(now());
    if (!q.exec()) {
        m_connection.fail(QStringLiteral("cannot add a child"), q.lastError().text());
        return messages::notWritten(q.lastError().text());
    }
    if (id) *id = q.lastInsertId().toLongLong();
    return std::nullopt;
}

std::optional<QString> ChildrenTable::rename(qint64 id, const QString& nickname)
{
    if (const auto problem = nicknameProblem(nickname)) return problem;
    const QString name = trimmedNickname(nickname);
    for (const Child& c : all())
        if (c.nickname == name && c.id != id) return messages::duplicateNickname(name);
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("UPDATE children SET nickname = ? WHERE id = ?"));
    q.addBindValue(name);
    q.addBindValue(id);
    if (!q.exec()) return messages::notWritten(q.lastError().text());
    return std::nullopt;
}

bool ChildrenTable::remove(qint64 id)
{
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("DELETE FROM children WHERE id = ?"));
    q.addBindValue(id);
    if (!q.exec())
        return m_connection.fail(QStringLiteral("cannot delete a child"), q.lastError().text());
    q.finish();
    return m_connection.dialect().forgetDeleted(m_connection);
}

std::optional<qint64> ChildrenTable::ofLogin(const QString& login)
{
    const auto found = m_connection.dialect().login(m_connection, login);
    if (!found) return std::nullopt;
    const QString name = *found;
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("SELECT id FROM children WHERE login = ?"));
    q.addBindValue(name);
    if (q.exec() && q.next()) return q.value(0).toLongLong();
    q.prepare(QStringLiteral(
        "INSERT INTO children(nickname, login, created_at) VALUES(?, ?, ?) RETURNING id"));
    q.addBindValue(name);
    q.addBindValue(name);
    q.addBindValue(now());
    if (!q.exec() || !q.next()) {
        m_connection.fail(QStringLiteral("cannot add the child of login ") + name, q.lastError());
        return std::nullopt;
    }
    return q.value(0).toLongLong();
}

bool ChildrenTable::setBaseLimit(qint64 id, int ms)
{
    if (baseLimitStep(ms) != ms) return false;
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("UPDATE children SET base_limit_ms = ? WHERE id = ?"));
    q.addBindValue(ms);
    q.addBindValue(id);
    if (!q.exec()) return m_connection.fail(QStringLiteral("cannot set the limit"), q.lastError());
    return q.numRowsAffected() == 1;
}

} // namespace common::records
