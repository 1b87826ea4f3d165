// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/database/connection.h"

#include <QAtomicInt>

namespace common::records {

namespace {

QAtomicInt connectionsMade;

} // namespace

Connection::Connection()
    : m_name(QStringLiteral("records-%1").arg(connectionsMade.fetchAndAddRelaxed(1))),
      m_dialect(&fileDialect())
{
}

Connection::~Connection() { close(); }

bool Connection::open(const Dialect& dialect, const std::function<void(QSqlDatabase&)>& setUp)
{
    close();
    m_dialect = &dialect;
    // The handle ends before a failed connection is closed.
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(dialect.driver(), m_name);
        setUp(db);
        if (db.open()) return true;
        error = db.lastError().text();
    }
    close();
    m_error = error; // the opener says what it could not open
    return false;
}

void Connection::close()
{
    m_prepared.clear();
    m_onDamage = nullptr;
    if (!QSqlDatabase::contains(m_name)) return;
    QSqlDatabase::database(m_name, false).close();
    QSqlDatabase::removeDatabase(m_name);
}

bool Connection::isOpen() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

QSqlDatabase Connection::database() const { return QSqlDatabase::database(m_name, false); }

QSqlQuery& Connection::prepared(const QString& sql)
{
    auto found = m_prepared.find(sql);
    if (found == m_prepared.end()) {
        found = m_prepared.insert(sql, QSqlQuery(database()));
        found->prepare(sql);
    }
    return *found;
}

bool Connection::exec(const QString& sql)
{
    QSqlQuery q(database());
    if (q.exec(sql)) return true;
    return fail(sql.section(u' ', 0, 2), q.lastError().text());
}

bool Connection::fail(const QString& what, const QSqlError& error)
{
    if (m_onDamage && m_dialect->isDamage(error)) m_onDamage();
    return fail(what, error.text());
}

bool Connection::fail(const QString& what, const QString& error)
{
    m_error = error.isEmpty() ? what : what + QStringLiteral(": ") + error;
    return false;
}

Transaction::Transaction(Connection& connection)
    : m_connection(connection), m_open(connection.dialect().begin(connection))
{
}

Transaction::~Transaction()
{
    if (m_open) m_connection.dialect().rollback(m_connection);
}

bool Transaction::commit()
{
    if (!m_open) return false;
    m_open = false;
    if (m_connection.dialect().commit(m_connection)) return true;
    m_connection.dialect().rollback(m_connection);
    return false;
}

} // namespace common::records
