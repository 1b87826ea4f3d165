// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/tables/notices_table.h"

#include <QDateTime>
#include <QVariant>

namespace common::records {

QStringList NoticesTable::take(bool keep)
{
    QStringList texts;
    QSqlQuery q(m_connection.database());
    if (!q.exec(QStringLiteral("SELECT text FROM notices WHERE shown = 0 ORDER BY id"))) return {};
    while (q.next()) texts << q.value(0).toString();
    if (!keep) q.exec(QStringLiteral("UPDATE notices SET shown = 1 WHERE shown = 0"));
    return texts;
}

bool NoticesTable::add(const QString& text)
{
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("INSERT INTO notices(text, created_at) VALUES(?, ?)"));
    q.addBindValue(text);
    q.addBindValue(QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    return q.exec() ||
           m_connection.fail(QStringLiteral("cannot keep a notice"), q.lastError().text());
}

} // namespace common::records
