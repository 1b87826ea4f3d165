// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every way the records' two databases differ, in one place: a family's file
// (SQLite) and a school's server (PostgreSQL). A connection is given its
// dialect once, when it opens; everything else asks the dialect for what
// differs and writes the rest once for both.

#include <QSqlError>
#include <QString>

#include <optional>

namespace common::records {

class Connection;

class Dialect {
public:
    enum class Where { kFile, kServer };

    virtual ~Dialect() = default;
    virtual Where where() const = 0;
    // Qt's driver for it.
    virtual QString driver() const = 0;

    // A schema statement, written for the file, as this database takes it.
    virtual QString schemaStatement(const QString& statement) const = 0;
    // A query, written for the file, as this database takes it.
    virtual QString query(const QString& query) const = 0;

    // One transaction: a file takes its write lock at the start.
    virtual bool begin(Connection& connection) const = 0;
    virtual bool commit(Connection& connection) const = 0;
    virtual void rollback(Connection& connection) const = 0;
    // After rows were deleted: nothing of them stays readable beside the
    // database (a file's journal is written back and emptied).
    virtual bool forgetDeleted(Connection& connection) const = 0;
    // Whether an error says the database itself is damaged.
    virtual bool isDamage(const QSqlError& error) const = 0;
    // The login a child plays as: on a server the role connected, which
    // `given` cannot change; in a file, `given`.
    virtual std::optional<QString> login(Connection& connection, const QString& given) const = 0;
    // A child's answers as CSV lines (no header), one column, oldest first;
    // the child's id is its one bound value.
    virtual QString answersCsvRows() const = 0;
};

const Dialect& fileDialect();
const Dialect& serverDialect();

// A schema statement as PostgreSQL takes it: 64-bit integers, identity
// keys, no rowid clause.
QString serverStatement(const QString& statement);
// A query written for the records file as a school's server takes it:
// texts joined with string_agg() where SQLite has group_concat(), and
// compared byte by byte (SQLite's BINARY) under PostgreSQL's "C" collation,
// whatever the server's own.
QString serverQuery(const QString& query);

} // namespace common::records
