// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A connection to the records, the handle every table and read is given:
// Qt's named database, its dialect (chosen when it opens), the statements
// prepared once for as long as it is open, and the last error in one line.
// A connection belongs to the thread that opened it and is used there only.

#include "records/database/dialect.h"

#include <QDateTime>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

#include <functional>

namespace common::records {

// A time as the records keep it, on either database: UTC in ISO 8601 with
// milliseconds, so that texts compare in time order.
inline QString utcText(const QDateTime& t) { return t.toUTC().toString(Qt::ISODateWithMs); }

class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens through the dialect's driver; `setUp` names the database and its
    // options before the opening. False with the driver's reason alone in
    // errorText().
    bool open(const Dialect& dialect, const std::function<void(QSqlDatabase&)>& setUp);
    void close();
    bool isOpen() const;
    // Which database it is to be before it opens, for a failed opening too.
    void choose(const Dialect& dialect) { m_dialect = &dialect; }

    const Dialect& dialect() const { return *m_dialect; }
    // Qt's name of it, for QSqlDatabase::database() in the same thread.
    QString name() const { return m_name; }
    QSqlDatabase database() const;
    // A statement prepared once for as long as the connection is open.
    QSqlQuery& prepared(const QString& sql);
    // Runs a statement that takes no values; false after a failure.
    bool exec(const QString& sql);

    // Keeps why something failed and returns false. A damage met in use is
    // also passed to what the opener asked to be told of it.
    bool fail(const QString& what, const QSqlError& error);
    bool fail(const QString& what, const QString& error = {});
    QString errorText() const { return m_error; }
    void setErrorText(const QString& text) { m_error = text; }
    void onDamage(std::function<void()> told) { m_onDamage = std::move(told); }

private:
    QString m_name;
    const Dialect* m_dialect;
    QHash<QString, QSqlQuery> m_prepared;
    QString m_error;
    std::function<void()> m_onDamage;
};

// The transaction of the code that makes it: begun at once, undone when it
// goes out of scope uncommitted. Whoever holds one owns the transaction;
// what is written through the connection meanwhile belongs to it.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool began() const { return m_open; }
    // False after a failure, the transaction then undone.
    bool commit();

private:
    Connection& m_connection;
    bool m_open;
};

} // namespace common::records
