// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The records: a family's file (SQLite) shared by both drills and the adults'
// records window, or a school's server (PostgreSQL). They hold the children
// by nickname, their sets, every judged answer and, per child and fact, how
// it is going. This is the records' front door: it owns the connection, opens
// it through the file's or the server's opener, and runs what spans several
// tables in one transaction of its own; each table keeps its own statements
// (records/tables/). One store is used from the one thread that opened it.

#include "records/database/connection.h"
#include "records/database/migrations.h"
#include "records/model/keeping.h"
#include "records/model/nickname.h"
#include "records/model/records_service.h"
#include "records/model/records_types.h"
#include "records/tables/answers_table.h"
#include "records/tables/class_table.h"
#include "records/tables/outbox_table.h"
#include "records/tables/path_table.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace common::records {

class RecordsStore {
public:
    RecordsStore();
    ~RecordsStore();
    RecordsStore(const RecordsStore&) = delete;
    RecordsStore& operator=(const RecordsStore&) = delete;

    // Opens (or makes) the file; its folder is made 0700, the file 0600.
    Opening open(const QString& file);
    // Opens the file only where it is: a window that shows the records makes
    // none before there is something to write. Nothing when there is no file.
    std::optional<Opening> openExisting(const QString& file);
    // Opens a school's server through a libpq service name (server_opener.h).
    Opening openServer(const QString& service);
    // What happened at the last opening, as one value.
    const OpeningReport& opened() const { return m_opened; }
    bool isServer() const { return m_connection.dialect().where() == Dialect::Where::kServer; }
    // What the adult is to be told of an opening, in Japanese: nothing after
    // kOpened or kMovedAside (whose notice waits in takeNotices()).
    std::optional<QString> openingWarning(Opening opening) const;
    void close();
    bool isOpen() const { return m_connection.isOpen(); }
    bool isReadOnly() const { return m_opened.opening == Opening::kReadOnly; }
    // The last error, in one line; where a damaged file went after kMovedAside.
    QString errorText() const { return m_connection.errorText(); }
    QString movedTo() const { return m_opened.movedTo; }
    // The connection, for the reads (records/reads/) and the tables in the
    // same thread; and its name, for QSqlDatabase::database() there.
    const Connection& connection() const { return m_connection; }
    Connection& connection() { return m_connection; }
    QString connectionName() const { return m_connection.name(); }

    // The children (children_table.h).
    QList<Child> children();
    std::optional<QString> addChild(const QString& nickname, qint64* id = nullptr);
    std::optional<QString> renameChild(qint64 id, const QString& nickname);
    bool deleteChild(qint64 id);
    // The child that plays as `login` (a pupil's account), added when
    // missing. On a server `login` is ignored: the child is the role
    // connected. Nothing after a failure.
    std::optional<qint64> loginChild(const QString& login);

    // Fast and right: the base limit of a child's recall facts, one of
    // kBaseLimitSteps; and the speed rule adopted by a file that held the
    // accuracy rule alone. Neither rewrites an answer or a fact row: what
    // was shown before stays as it was recorded. False after a failure.
    bool setBaseLimit(qint64 child, int ms);
    bool adoptSpeedRule();

    // The day's practice (path_table.h): a child's school year, the day's
    // length and its path, as an adult sets them; and what the child
    // passed. False (nothing) after a failure.
    std::optional<ChildPlan> childPlan(qint64 child) const;
    bool setGrade(qint64 child, std::optional<int> grade);
    bool setDayProblems(qint64 child, int problems);
    bool setPath(qint64 child, const Path& path);
    bool resetPath(qint64 child);

    // A school's classes (class_table.h): those the connected teacher
    // teaches (a head teacher: every class), by name; a class's path, pinned
    // step and day's length; and setting them, which the server refuses a
    // pupil and a teacher of another class. Nothing (false) after a failure;
    // no class on a family's file.
    std::optional<QList<SchoolClass>> classes();
    std::optional<ClassPath> classPath(const QString& classRole);
    bool setClassPath(const QString& classRole, const ClassPath& path);
    bool resetClassPath(const QString& classRole);

    // Messages for the adult that no window has shown yet; shown once.
    QStringList takeNotices();
    bool addNotice(const QString& text);

    // One judged answer of a child in a transaction of its own, with its set
    // written first when it is new (`setId` 0: it is set to the new row) and
    // the child's fact row brought up to date (answers_table.h).
    bool recordAnswer(qint64 childId, const SetRecord& set, qint64& setId,
                      const AnswerRecord& answer);
    bool endSet(qint64 setId, int score, const QDateTime& endedAt);
    // As above in a pupil's file: what is written also goes in the outbox,
    // in the same transaction, to go on to the school's server.
    bool recordAnswerToSend(qint64 childId, const SetRecord& set, qint64& setId,
                            const AnswerRecord& answer);
    bool endSetToSend(qint64 setId, int score, const QDateTime& endedAt);
    // What waits in the outbox, oldest first; everything up to `outgoingId`
    // went (outbox_table.h).
    using Outgoing = records::Outgoing;
    std::optional<QList<Outgoing>> outgoing(int limit);
    bool markSent(qint64 outgoingId);

    // How long the answers are kept (keeping_table.h).
    int keptMonths();
    bool setKeptMonths(int months);
    std::optional<qint64> countAnswersBefore(const QDateTime& cutOff);
    std::optional<qint64> removeAnswersBefore(const QDateTime& cutOff);
    // A drill's start: removes what the choice no longer keeps, at most
    // once a local day for all programs sharing the file. 0 when nothing
    // was due.
    std::optional<qint64> keepToSetting(const QDate& today);

private:
    bool writeAnswer(qint64 childId, const SetRecord& set, qint64& setId,
                     const AnswerRecord& answer, bool toSend);
    bool writeEnd(qint64 setId, int score, const QDateTime& endedAt, bool toSend);

    Connection m_connection;
    OpeningReport m_opened;
    KeyingCache m_keying; // for the limit each answer carries (answers_table.h)
};

} // namespace common::records
