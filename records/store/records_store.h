// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The records file: one SQLite database shared by both drills and the adults'
// records window. It holds the children by nickname, their sets, every judged
// answer and, per child and fact, how it is going. Opening it checks it,
// moves a damaged or foreign file aside and brings an older one up to date
// through numbered migrations; a file of a newer version is opened read-only.
// One store is used from one thread. How long the answers themselves are
// kept is a choice held in the file; the facts and sets keep their counts.

#include "records/database/connection.h"
#include "records/model/records_service.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

#include <optional>

namespace common::records {

struct Child {
    qint64 id = 0;
    QString nickname;
    bool operator==(const Child&) const = default;
};

// How an opening went.
enum class Opening {
    kOpened,     // ready for reading and writing
    kMovedAside, // the file was damaged or not ours: kept under a new name, a fresh one started
    kReadOnly,   // made by a newer version: read, never written or downgraded
    kFailed,     // no file to use (an unwritable folder, a full disk)
};

// The schema version this program writes (PRAGMA user_version).
int schemaVersion();

// How many months of answers the file keeps; kKeepAll keeps every one.
// Fewer than three would cut into the child page's eight weeks.
inline constexpr int kKeepAll = 0;
// The choices offered: every answer, or 3, 6, 12 or 24 months.
const QList<int>& keepingChoices();
// Where the answers kept for `months` begin: local midnight `months`
// months before `today`.
QDateTime keepingCutOff(int months, const QDate& today);

// Why a nickname cannot be stored (in Japanese, for the adult), or nothing
// when it can: empty, blanks only, over 40 characters or with control
// characters. The name is taken with blanks around it cut off.
std::optional<QString> nicknameProblem(const QString& nickname);

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
    // Opens a school's server (PostgreSQL) through a libpq service name: the
    // host, database and user come from pg_service.conf, a password from
    // ~/.pgpass or the school's own authentication; none is kept or printed
    // here. kFailed when the name is not a service name, the server cannot be
    // reached, refuses the login, or lacks the records' tables or has older
    // ones; openingWarning() then says which.
    Opening openServer(const QString& service);
    bool isServer() const { return m_connection.dialect().where() == Dialect::Where::kServer; }
    // What the adult is to be told of an opening, in Japanese: nothing after
    // kOpened or kMovedAside (whose notice waits in takeNotices()).
    std::optional<QString> openingWarning(Opening opening) const;
    void close();
    bool isOpen() const;
    bool isReadOnly() const { return m_readOnly; }
    // The last error, in one line; where a damaged file went after kMovedAside.
    QString errorText() const { return m_connection.errorText(); }
    QString movedTo() const { return m_movedTo; }
    // The connection, for the reads (child_page.h, review.h, ...) in the same
    // thread; and its name, for QSqlDatabase::database() there.
    const Connection& connection() const { return m_connection; }
    QString connectionName() const { return m_connection.name(); }

    QList<Child> children();
    // Adds or renames a child: nothing, or why not (as nicknameProblem, or a
    // duplicate, or a failed write).
    std::optional<QString> addChild(const QString& nickname, qint64* id = nullptr);
    std::optional<QString> renameChild(qint64 id, const QString& nickname);
    // Deletes the child with every row of its own, and leaves nothing of it
    // readable in the file.
    bool deleteChild(qint64 id);

    // Fast and right: the base limit of a child's recall facts, one of
    // kBaseLimitSteps; and the speed rule adopted by a file that held the
    // accuracy rule alone. Neither rewrites an answer or a fact row: what
    // was shown before stays as it was recorded. False after a failure.
    bool setBaseLimit(qint64 child, int ms);
    bool adoptSpeedRule();

    // Messages for the adult that no window has shown yet; shown once.
    QStringList takeNotices();
    bool addNotice(const QString& text);

    // One judged answer of a child, with its set written first when it is
    // new (`setId` 0: it is set to the new row) and the child's fact row
    // brought up to date, all in one transaction.
    // Where a set or an answer carries a uid, one already stored is not
    // stored again: its transaction is undone and it counts as recorded.
    bool recordAnswer(qint64 childId, const SetRecord& set, qint64& setId,
                      const AnswerRecord& answer);
    bool endSet(qint64 setId, int score, const QDateTime& endedAt);
    // Several answers in one transaction, as a sender to a server writes
    // them: begin(), then writeAnswer() and endSet(uid) for each, then
    // commit(); after a failure, rollback() undoes them all.
    bool begin();
    bool commit();
    void rollback();
    bool writeAnswer(qint64 childId, const SetRecord& set, qint64& setId,
                     const AnswerRecord& answer);

    // A pupil's file: each answer and each end of a set written from now on
    // is put in the outbox too, in its own transaction, to go on to the
    // school's server.
    void setQueueing(bool on) { m_queueing = on; }
    // The child that plays as `login` (a pupil's account), added when
    // missing. On a server `login` is ignored: the child is the role
    // connected. Nothing after a failure.
    std::optional<qint64> loginChild(const QString& login);
    // What waits in the outbox, oldest first: an answer with its set, or a
    // set's end (no answer).
    struct Outgoing {
        qint64 id = 0;
        qint64 setId = 0; // in this file
        SetRecord set;
        std::optional<AnswerRecord> answer;
        int score = 0;
        QDateTime endedAt;
    };
    std::optional<QList<Outgoing>> outgoing(int limit);
    // What waits is sent in order: everything up to `outgoingId` went.
    bool markSent(qint64 outgoingId);
    // The end of a set known by its uid (a server's).
    bool endSet(const QString& setUid, int score, const QDateTime& endedAt);

    // The months of answers kept (kKeepAll when every one, or unreadable),
    // and a new choice, one of keepingChoices(). Setting it removes nothing.
    int keptMonths();
    bool setKeptMonths(int months);
    // The answers given before `cutOff`: how many there are; and removing
    // them, a few thousand to a transaction so that a drill writing
    // meanwhile waits only moments, then emptying the journal so that
    // nothing removed stays readable. The facts and sets keep what they
    // say. How many went, or nothing after a failure (what went before it
    // stays gone).
    std::optional<qint64> countAnswersBefore(const QDateTime& cutOff);
    std::optional<qint64> removeAnswersBefore(const QDateTime& cutOff);
    // A drill's start: removes what the choice no longer keeps, at most
    // once a local day for all programs sharing the file (the day is kept
    // in the file). 0 when nothing was due.
    std::optional<qint64> keepToSetting(const QDate& today);

private:
    bool configure();
    Opening checkAndMigrate(const QString& file);
    bool migrate(int from);
    bool exec(const QString& sql) { return m_connection.exec(sql); }
    Opening moveAside(const QString& file, const QString& why);
    template <typename Error> bool fail(const QString& what, const Error& error)
    {
        return m_connection.fail(what, error);
    }
    bool fail(const QString& what) { return m_connection.fail(what); }
    QSqlQuery& prepared(const QString& sql) { return m_connection.prepared(sql); }

    Connection m_connection;
    QString m_movedTo;
    bool m_readOnly = false;
    bool m_queueing = false;
    // Why a server could not be used, for openingWarning().
    enum class ServerProblem { kNone, kName, kUnreachable, kRefused, kNoTables, kOlderTables };
    ServerProblem m_problem = ServerProblem::kNone;
    QString m_service;
    // Each child's keying as last read from its fact rows (none: not known
    // yet), for the limit each answer carries.
    QHash<qint64, std::optional<int>> m_keyMs;
};

} // namespace common::records
