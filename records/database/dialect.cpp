// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/database/dialect.h"

#include "records/database/connection.h"

#include <QRegularExpression>
#include <QVariant>

namespace common::records {

namespace {

// The file: SQLite.
class FileDialect final : public Dialect {
public:
    Where where() const override { return Where::kFile; }
    QString driver() const override { return QStringLiteral("QSQLITE"); }
    QString schemaStatement(const QString& statement) const override { return statement; }
    QString query(const QString& query) const override { return query; }

    bool begin(Connection& c) const override
    {
        // IMMEDIATE: the write lock is taken (or waited for) at the start.
        QSqlQuery& q = c.prepared(QStringLiteral("BEGIN IMMEDIATE"));
        return q.exec() || c.fail(QStringLiteral("cannot begin"), q.lastError());
    }
    bool commit(Connection& c) const override
    {
        QSqlQuery& q = c.prepared(QStringLiteral("COMMIT"));
        return q.exec() || c.fail(QStringLiteral("cannot commit"), q.lastError());
    }
    void rollback(Connection& c) const override
    {
        QSqlQuery(c.database()).exec(QStringLiteral("ROLLBACK"));
    }
    bool forgetDeleted(Connection& c) const override
    {
        // The old pages still sit in the journal until it is written back and
        // emptied; secure_delete has zeroed them in the file itself.
        return c.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    bool isDamage(const QSqlError& e) const override
    {
        // SQLITE_CORRUPT and SQLITE_NOTADB, SQLite's primary result codes.
        const int code = e.nativeErrorCode().toInt() & 0xff;
        return code == 11 || code == 26;
    }
    std::optional<QString> login(Connection&, const QString& given) const override { return given; }
    QString answersCsvRows() const override
    {
        // Each row comes from SQLite as its whole line, made by one printf:
        // fetching a value costs far more than formatting it there, and
        // joining with || copies the line at every step. A kind and a fact
        // may hold a comma and are quoted (%w doubles a quote). The right
        // answer and what was typed are cells like any other text: one that
        // a spreadsheet would take for a formula (=, +, @, or - but before a
        // digit) gets an apostrophe first, and one holding a separator, a
        // quote or a line break is quoted, its quotes doubled. The set of
        // missed facts is named as the child saw it.
        return QStringLiteral(
            R"sql(SELECT printf('%s,%s,"%w",%lld,%d,"%w",%s,%s,%d,%d,%d,%s,%lld,%s',
  answered_at, program, choice, set_id, position, fact,
  CASE WHEN r GLOB '*[,"' || char(10, 13) || ']*' THEN printf('"%w"', r) ELSE r END,
  CASE WHEN t GLOB '*[,"' || char(10, 13) || ']*' THEN printf('"%w"', t) ELSE t END,
  attempt, correct, answer_shown, coalesce(hint, ''), elapsed_ms,
  coalesce(CAST(limit_ms AS TEXT), ''))
FROM (SELECT a.id, a.answered_at, s.program,
        CASE WHEN s.program = 'numira' AND s.choice = 'review' THEN 'にがて' ELSE s.choice END
          AS choice, a.set_id, a.position, a.fact,
        CASE WHEN a.right_answer GLOB '[=+@]*' OR a.right_answer GLOB '-[^0-9]*'
               OR a.right_answer = '-'
             THEN '''' || a.right_answer ELSE a.right_answer END AS r,
        CASE WHEN a.typed GLOB '[=+@]*' OR a.typed GLOB '-[^0-9]*' OR a.typed = '-'
             THEN '''' || a.typed ELSE a.typed END AS t,
        a.attempt, a.correct, a.answer_shown, a.hint, a.elapsed_ms, a.limit_ms
      FROM answers a JOIN sets s ON a.set_id = s.id WHERE s.child_id = ?)
ORDER BY id)sql");
    }
};

// A school's server: PostgreSQL.
class ServerDialect final : public Dialect {
public:
    Where where() const override { return Where::kServer; }
    QString driver() const override { return QStringLiteral("QPSQL"); }
    QString schemaStatement(const QString& statement) const override
    {
        return serverStatement(statement);
    }
    QString query(const QString& query) const override { return serverQuery(query); }

    // PostgreSQL's BEGIN cannot be prepared: Qt's own transaction calls.
    bool begin(Connection& c) const override
    {
        QSqlDatabase db = c.database();
        return db.transaction() || c.fail(QStringLiteral("cannot begin"), db.lastError());
    }
    bool commit(Connection& c) const override
    {
        QSqlDatabase db = c.database();
        return db.commit() || c.fail(QStringLiteral("cannot commit"), db.lastError());
    }
    void rollback(Connection& c) const override { c.database().rollback(); }
    // Deleted rows are the server's own to vacuum.
    bool forgetDeleted(Connection&) const override { return true; }
    bool isDamage(const QSqlError&) const override { return false; }
    std::optional<QString> login(Connection& c, const QString&) const override
    {
        QSqlQuery q(c.database());
        if (q.exec(QStringLiteral("SELECT current_user")) && q.next()) return q.value(0).toString();
        c.fail(QStringLiteral("cannot read the login"), q.lastError());
        return std::nullopt;
    }
    QString answersCsvRows() const override
    {
        // The same line as the file's, made by format(): quotes doubled by
        // replace(), the formula marks found by their first character.
        return QStringLiteral(
            R"sql(SELECT format('%s,%s,"%s",%s,%s,"%s",%s,%s,%s,%s,%s,%s,%s,%s',
  answered_at, program, replace(choice, '"', '""'), set_id, position, replace(fact, '"', '""'),
  CASE WHEN r ~ ('[,"' || chr(10) || chr(13) || ']') THEN '"' || replace(r, '"', '""') || '"'
       ELSE r END,
  CASE WHEN t ~ ('[,"' || chr(10) || chr(13) || ']') THEN '"' || replace(t, '"', '""') || '"'
       ELSE t END,
  attempt, correct, answer_shown, coalesce(hint, ''), elapsed_ms,
  coalesce(CAST(limit_ms AS TEXT), ''))
FROM (SELECT a.id, a.answered_at, s.program,
        CASE WHEN s.program = 'numira' AND s.choice = 'review' THEN 'にがて' ELSE s.choice END
          AS choice, a.set_id, a.position, a.fact,
        CASE WHEN left(a.right_answer, 1) IN ('=', '+', '@') OR a.right_answer ~ '^-([^0-9]|$)'
             THEN '''' || a.right_answer ELSE a.right_answer END AS r,
        CASE WHEN left(a.typed, 1) IN ('=', '+', '@') OR a.typed ~ '^-([^0-9]|$)'
             THEN '''' || a.typed ELSE a.typed END AS t,
        a.attempt, a.correct, a.answer_shown, a.hint, a.elapsed_ms, a.limit_ms
      FROM answers a JOIN sets s ON a.set_id = s.id WHERE s.child_id = ?) AS answer_rows
ORDER BY id)sql");
    }
};

} // namespace

const Dialect& fileDialect()
{
    static const FileDialect dialect;
    return dialect;
}

const Dialect& serverDialect()
{
    static const ServerDialect dialect;
    return dialect;
}

QString serverStatement(const QString& statement)
{
    static const QRegularExpression integer(QStringLiteral("\\bINTEGER\\b"));
    QString s = statement;
    s.replace(QStringLiteral("INTEGER PRIMARY KEY"),
              QStringLiteral("BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY"));
    s.replace(integer, QStringLiteral("BIGINT"));
    s.replace(QStringLiteral(") WITHOUT ROWID"), QStringLiteral(")"));
    return s;
}

QString serverQuery(const QString& query)
{
    QString s = query;
    s.replace(QStringLiteral("group_concat("), QStringLiteral("string_agg("));
    s.replace(QStringLiteral("COLLATE BINARY"), QStringLiteral("COLLATE \"C\""));
    return s;
}

} // namespace common::records
