// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/store/records_store.h"

#include "records/database/migrations.h"
#include "records/tables/fact_rows.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace common::records {

namespace {

// "NMBR": marks the file as ours for anyone who opens it.
constexpr int kApplicationId = 0x4E4D4252;
constexpr int kBusyTimeoutMs = 5000;
constexpr int kMaxNicknameLength = 40;
// A file up to this size is checked page by page at every opening; it takes
// a family's file some tens of milliseconds, a class's half a second.
constexpr qint64 kAlwaysCheckedBytes = 32 * 1024 * 1024;
// Answers removed in one transaction: a few milliseconds of the write lock.
constexpr int kRemovedPerTransaction = 2000;

QString utcText(const QDateTime& t) { return t.toUTC().toString(Qt::ISODateWithMs); }

// A fresh (empty) file, or one that starts as every SQLite database does.
bool looksLikeDatabase(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return true; // unreadable: let the opening say why
    if (f.size() == 0) return true;
    return f.size() >= 512 && f.read(16) == QByteArrayView("SQLite format 3\0", 16);
}

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// Where a damage met while the file was in use is remembered, so that the
// next opening checks the whole file however large it is.
QString checkMarker(const QString& file) { return file + QStringLiteral(".check"); }

// Whether an opening reads every page of the file before it is used. A large
// file is read whole only when it may have been left half-written or damaged:
// its journal still holds pages (a program was killed, or another one has the
// file open and checked it when it opened it), or a damage was met in use.
bool wantsWholeCheck(const QString& file)
{
    return QFileInfo(file).size() <= kAlwaysCheckedBytes ||
           QFileInfo(file + QStringLiteral("-wal")).size() > 0 ||
           QFileInfo::exists(checkMarker(file));
}

QString trimmedNickname(const QString& nickname)
{
    // Blanks around the name, the ideographic space among them, are cut off.
    qsizetype begin = 0, end = nickname.size();
    while (begin < end && nickname.at(begin).isSpace()) ++begin;
    while (end > begin && nickname.at(end - 1).isSpace()) --end;
    return nickname.mid(begin, end - begin).normalized(QString::NormalizationForm_C);
}

} // namespace

int schemaVersion() { return static_cast<int>(migrations().size()); }

const QList<int>& keepingChoices()
{
    static const QList<int> choices{kKeepAll, 3, 6, 12, 24};
    return choices;
}

QDateTime keepingCutOff(int months, const QDate& today)
{
    return QDateTime(today.addMonths(-months), QTime(0, 0));
}

std::optional<QString> nicknameProblem(const QString& nickname)
{
    const QString name = trimmedNickname(nickname);
    if (name.isEmpty()) return QStringLiteral("ニックネームを入れてください。");
    if (name.toUcs4().size() > kMaxNicknameLength)
        return QStringLiteral("ニックネームは40文字までにしてください。");
    for (const char32_t c : name.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Other_Control || category == QChar::Other_Format ||
            category == QChar::Separator_Line || category == QChar::Separator_Paragraph)
            return QStringLiteral("ニックネームに使えない文字（制御文字）が入っています。");
    }
    return std::nullopt;
}

RecordsStore::RecordsStore() = default;

RecordsStore::~RecordsStore() { close(); }

bool RecordsStore::isOpen() const { return m_connection.isOpen(); }

void RecordsStore::close() { m_connection.close(); }

Opening RecordsStore::open(const QString& file)
{
    close();
    m_connection.setErrorText({});
    m_connection.choose(fileDialect());
    m_movedTo.clear();
    m_readOnly = false;
    m_problem = ServerProblem::kNone;
    const QFileInfo info(file);
    const QString folder = info.absolutePath();
    if (!QDir().mkpath(folder)) {
        fail(QStringLiteral("cannot make the folder ") + folder, QString());
        return Opening::kFailed;
    }
    QFile::setPermissions(folder, kOwnerOnly | QFileDevice::ExeOwner);
    if (!info.exists()) {
        // Made empty and private before SQLite writes a byte into it.
        QFile fresh(file);
        // The other drill may have made it a moment ago: that one is used.
        if (!fresh.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnly) &&
            !QFileInfo::exists(file)) {
            fail(QStringLiteral("cannot make ") + file, fresh.errorString());
            return Opening::kFailed;
        }
    } else if (!looksLikeDatabase(file)) {
        return moveAside(file, QStringLiteral("not a records file"));
    }
    QFile::setPermissions(file, kOwnerOnly);
    return checkAndMigrate(file);
}

std::optional<Opening> RecordsStore::openExisting(const QString& file)
{
    if (!QFileInfo::exists(file)) return std::nullopt;
    return open(file);
}

Opening RecordsStore::openServer(const QString& service)
{
    close();
    m_connection.setErrorText({});
    m_connection.choose(serverDialect());
    m_readOnly = false;
    m_service = service;
    m_problem = ServerProblem::kNone;
    const auto problem = [&](ServerProblem why, const QString& error) {
        m_problem = why;
        fail(QStringLiteral("records server '%1'").arg(service), error);
        close();
        return Opening::kFailed;
    };
    // Qt hands the options to libpq as they are: a name is letters, digits,
    // dots, dashes and underscores, and nothing else can come in with it.
    static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9_.-]{1,63}$"));
    if (!name.match(service).hasMatch())
        return problem(ServerProblem::kName, QStringLiteral("not a service name"));
    ServerProblem why = ServerProblem::kNone;
    QString error;
    int version = 0;
    const bool opened = m_connection.open(serverDialect(), [&](QSqlDatabase& db) {
        // A server that does not answer is given up after a few seconds; a
        // drill sends from a thread of its own, but its end waits for that.
        db.setConnectOptions(QStringLiteral("service=") + service +
                             QStringLiteral(";connect_timeout=4"));
    });
    if (!opened) {
        error = m_connection.errorText().simplified();
        why = error.contains(QLatin1String("password")) ||
                      error.contains(QLatin1String("authentication")) ||
                      error.contains(QLatin1String("role"))
                  ? ServerProblem::kRefused
                  : ServerProblem::kUnreachable;
    } else {
        QSqlQuery q(m_connection.database());
        if (q.exec(QStringLiteral("SELECT version FROM records_version")) && q.next()) {
            version = q.value(0).toInt();
        } else {
            why = ServerProblem::kNoTables;
            error = q.lastError().text().simplified();
        }
    }
    if (why != ServerProblem::kNone) return problem(why, error);
    if (version < schemaVersion())
        return problem(
            ServerProblem::kOlderTables,
            QStringLiteral("schema %1, this program needs %2").arg(version).arg(schemaVersion()));
    // A later version's server is read as it is, never written.
    m_readOnly = version > schemaVersion();
    return m_readOnly ? Opening::kReadOnly : Opening::kOpened;
}

std::optional<QString> RecordsStore::openingWarning(Opening opening) const
{
    switch (m_problem) {
    case ServerProblem::kNone: break;
    case ServerProblem::kName:
        return QStringLiteral("学校の記録のサーバーの設定「%1」はサービス名として使えません。")
            .arg(m_service);
    case ServerProblem::kUnreachable:
        return QStringLiteral("学校の記録のサーバーにつながりません（サービス「%1」）。"
                              "ネットワークと設定を確かめてください。")
            .arg(m_service);
    case ServerProblem::kRefused:
        return QStringLiteral("学校の記録のサーバーがログインを受け付けませんでした"
                              "（サービス「%1」）。")
            .arg(m_service);
    case ServerProblem::kNoTables:
        return QStringLiteral("学校の記録のサーバーに記録の表がありません（サービス「%1」）。"
                              "管理者に準備をお願いしてください。")
            .arg(m_service);
    case ServerProblem::kOlderTables:
        return QStringLiteral("学校の記録のサーバーの表が古い版のままです（サービス「%1」）。"
                              "管理者に更新をお願いしてください。")
            .arg(m_service);
    }
    if (opening == Opening::kReadOnly)
        return QStringLiteral(
            "記録のファイルは新しい版のプログラムで作られたものです。読むだけにして開きました。"
            "子どもの追加、名前の変更、削除はできません。");
    if (opening == Opening::kFailed)
        return QStringLiteral("記録のファイルを開けませんでした（%1）。").arg(errorText());
    return std::nullopt;
}

Opening RecordsStore::checkAndMigrate(const QString& file)
{
    if (!m_connection.open(fileDialect(), [&](QSqlDatabase& db) {
            db.setDatabaseName(file);
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
        })) {
        fail(QStringLiteral("cannot open ") + file, m_connection.errorText());
        return Opening::kFailed;
    }
    // A damage met in use has the next opening check the whole file.
    m_connection.onDamage([file] {
        QFile marker(checkMarker(file));
        marker.open(QIODevice::WriteOnly, kOwnerOnly);
    });
    int applicationId = 0, version = 0, tables = 0;
    {
        QSqlQuery q(m_connection.database());
        const auto value = [&](const QString& sql, int& out) {
            if (!q.exec(sql) || !q.next()) return false;
            out = q.value(0).toInt();
            return true;
        };
        if (!value(QStringLiteral("PRAGMA application_id"), applicationId) ||
            !value(QStringLiteral("PRAGMA user_version"), version) ||
            !value(QStringLiteral("SELECT count(*) FROM sqlite_master"), tables)) {
            const QSqlError e = q.lastError();
            if (m_connection.dialect().isDamage(e)) return moveAside(file, e.text());
            fail(QStringLiteral("cannot read ") + file, e.text());
            return Opening::kFailed;
        }
    }
    const bool fresh = applicationId == 0 && version == 0 && tables == 0;
    if (!fresh && applicationId != kApplicationId)
        return moveAside(file, QStringLiteral("a database of another program"));
    if (version > schemaVersion()) {
        // A later version's file: read as it is, never written or downgraded.
        const bool opened = m_connection.open(fileDialect(), [&](QSqlDatabase& db) {
            db.setDatabaseName(file);
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1")
                                     .arg(kBusyTimeoutMs));
        });
        m_readOnly = true;
        fail(QStringLiteral("made by a newer version (schema %1, this program knows %2)")
                 .arg(version)
                 .arg(schemaVersion()));
        return opened ? Opening::kReadOnly : Opening::kFailed;
    }
    if (!fresh && wantsWholeCheck(file)) {
        QSqlQuery q(m_connection.database());
        if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next() ||
            q.value(0).toString() != QLatin1String("ok")) {
            const QString why =
                q.lastError().isValid() ? q.lastError().text() : q.value(0).toString();
            q.finish();
            return moveAside(file, why);
        }
        QFile::remove(checkMarker(file));
    }
    if (!configure() || !migrate(version)) return Opening::kFailed;
    // The journal's companions take the file's own permissions; the file
    // is set again in case it was made by another way.
    QFile::setPermissions(file, kOwnerOnly);
    return Opening::kOpened;
}

bool RecordsStore::configure()
{
    // WAL: a drill writing never waits for the records window reading.
    // NORMAL: a commit survives a killed program; only a power cut may lose
    // the last answers. secure_delete: deleted rows are overwritten.
    return exec(QStringLiteral("PRAGMA journal_mode=WAL")) &&
           exec(QStringLiteral("PRAGMA synchronous=NORMAL")) &&
           exec(QStringLiteral("PRAGMA foreign_keys=ON")) &&
           exec(QStringLiteral("PRAGMA secure_delete=ON"));
}

bool RecordsStore::migrate(int from)
{
    if (from == schemaVersion()) return true;
    if (!exec(QStringLiteral("BEGIN IMMEDIATE"))) return false;
    // Another program may have migrated while this one waited.
    QSqlQuery q(m_connection.database());
    if (q.exec(QStringLiteral("PRAGMA user_version")) && q.next()) from = q.value(0).toInt();
    q.finish();
    for (int v = from; v < schemaVersion(); ++v) {
        const Migration& m = migrations()[v];
        for (const QString& statement : statementsOf(m.schema) + statementsOf(m.fill)) {
            if (!exec(statement)) {
                exec(QStringLiteral("ROLLBACK"));
                return false;
            }
        }
    }
    // PRAGMA takes no bound values; both numbers are the program's own.
    if (!exec(QStringLiteral("PRAGMA application_id=%1").arg(kApplicationId)) ||
        !exec(QStringLiteral("PRAGMA user_version=%1").arg(schemaVersion())) ||
        !exec(QStringLiteral("COMMIT"))) {
        exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    return true;
}

Opening RecordsStore::moveAside(const QString& file, const QString& why)
{
    close();
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = file + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = file + QStringLiteral(".damaged-%1-%2").arg(stamp).arg(n);
    QFile::remove(checkMarker(file));
    if (!QFile::rename(file, target)) {
        fail(QStringLiteral("cannot move aside ") + file, why);
        return Opening::kFailed;
    }
    for (const char* companion : {"-wal", "-shm"})
        if (QFileInfo::exists(file + QLatin1String(companion)))
            QFile::rename(file + QLatin1String(companion), target + QLatin1String(companion));
    if (open(file) != Opening::kOpened) return Opening::kFailed;
    m_movedTo = target;
    fail(why);
    addNotice(
        QStringLiteral(
            "記録のファイルが読めなかったため、「%1」という名前で残し、新しい記録を始めました。")
            .arg(QFileInfo(target).fileName()));
    return Opening::kMovedAside;
}

QList<Child> RecordsStore::children()
{
    QList<Child> list;
    QSqlQuery q(m_connection.database());
    if (!q.exec(QStringLiteral("SELECT id, nickname FROM children ORDER BY id"))) return list;
    while (q.next()) list.append({q.value(0).toLongLong(), q.value(1).toString()});
    return list;
}

std::optional<QString> RecordsStore::addChild(const QString& nickname, qint64* id)
{
    if (const auto problem = nicknameProblem(nickname)) return problem;
    const QString name = trimmedNickname(nickname);
    for (const Child& c : children())
        if (c.nickname == name)
            return QStringLiteral("「%1」はもういます。ほかのニックネームにしてください。")
                .arg(name);
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("INSERT INTO children(nickname, created_at) VALUES(?, ?)"));
    q.addBindValue(name);
    q.addBindValue(utcText(QDateTime::currentDateTimeUtc()));
    if (!q.exec()) {
        fail(QStringLiteral("cannot add a child"), q.lastError().text());
        return QStringLiteral("記録に書けませんでした（%1）。").arg(q.lastError().text());
    }
    if (id) *id = q.lastInsertId().toLongLong();
    return std::nullopt;
}

std::optional<QString> RecordsStore::renameChild(qint64 id, const QString& nickname)
{
    if (const auto problem = nicknameProblem(nickname)) return problem;
    const QString name = trimmedNickname(nickname);
    for (const Child& c : children())
        if (c.nickname == name && c.id != id)
            return QStringLiteral("「%1」はもういます。ほかのニックネームにしてください。")
                .arg(name);
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("UPDATE children SET nickname = ? WHERE id = ?"));
    q.addBindValue(name);
    q.addBindValue(id);
    if (!q.exec())
        return QStringLiteral("記録に書けませんでした（%1）。").arg(q.lastError().text());
    return std::nullopt;
}

bool RecordsStore::deleteChild(qint64 id)
{
    m_keyMs.remove(id);
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("DELETE FROM children WHERE id = ?"));
    q.addBindValue(id);
    if (!q.exec()) return fail(QStringLiteral("cannot delete a child"), q.lastError().text());
    q.finish();
    return m_connection.dialect().forgetDeleted(m_connection);
}

QStringList RecordsStore::takeNotices()
{
    QStringList texts;
    QSqlQuery q(m_connection.database());
    if (!q.exec(QStringLiteral("SELECT text FROM notices WHERE shown = 0 ORDER BY id"))) return {};
    while (q.next()) texts << q.value(0).toString();
    if (!m_readOnly) q.exec(QStringLiteral("UPDATE notices SET shown = 1 WHERE shown = 0"));
    return texts;
}

bool RecordsStore::addNotice(const QString& text)
{
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("INSERT INTO notices(text, created_at) VALUES(?, ?)"));
    q.addBindValue(text);
    q.addBindValue(utcText(QDateTime::currentDateTimeUtc()));
    return q.exec() || fail(QStringLiteral("cannot keep a notice"), q.lastError().text());
}

bool RecordsStore::begin() { return m_connection.dialect().begin(m_connection); }

bool RecordsStore::commit()
{
    if (m_connection.dialect().commit(m_connection)) return true;
    rollback();
    return false;
}

void RecordsStore::rollback() { m_connection.dialect().rollback(m_connection); }

namespace {

QVariant uidValue(const QString& uid) { return uid.isEmpty() ? QVariant() : QVariant(uid); }

} // namespace

bool RecordsStore::setBaseLimit(qint64 child, int ms)
{
    if (m_readOnly || baseLimitStep(ms) != ms) return false;
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("UPDATE children SET base_limit_ms = ? WHERE id = ?"));
    q.addBindValue(ms);
    q.addBindValue(child);
    if (!q.exec()) return fail(QStringLiteral("cannot set the limit"), q.lastError());
    return q.numRowsAffected() == 1;
}

bool RecordsStore::adoptSpeedRule()
{
    if (m_readOnly) return false;
    QSqlQuery q(m_connection.database());
    if (!q.exec(QStringLiteral("UPDATE rules SET timed = 1 WHERE id = 1")))
        return fail(QStringLiteral("cannot adopt the rule"), q.lastError());
    return true;
}

bool RecordsStore::recordAnswer(qint64 childId, const SetRecord& set, qint64& setId,
                                const AnswerRecord& a)
{
    qint64 newSetId = setId;
    if (!begin()) return false;
    if (!writeAnswer(childId, set, newSetId, a)) {
        rollback();
        return false;
    }
    if (!commit()) return false;
    setId = newSetId;
    return true;
}

bool RecordsStore::writeAnswer(qint64 childId, const SetRecord& set, qint64& setId,
                               const AnswerRecord& a)
{
    // The statements are prepared once: this runs at every Return of a drill.
    const auto failed = [&](QSqlQuery& q) {
        fail(QStringLiteral("cannot record an answer"), q.lastError());
        q.finish();
        return false;
    };
    if (setId == 0) {
        // A set sent again is found by its uid.
        QSqlQuery& q = prepared(QStringLiteral(
            "INSERT INTO sets(child_id, program, choice, problem_count, started_at, uid) "
            "VALUES(?, ?, ?, ?, ?, ?) ON CONFLICT (uid) DO UPDATE SET uid = excluded.uid "
            "RETURNING id"));
        q.addBindValue(childId);
        q.addBindValue(set.program);
        q.addBindValue(set.choice);
        q.addBindValue(set.count);
        q.addBindValue(utcText(a.answeredAt.addMSecs(-a.elapsedMs)));
        q.addBindValue(uidValue(set.uid));
        if (!q.exec() || !q.next()) return failed(q);
        setId = q.value(0).toLongLong();
        q.finish();
    }
    const qint64 newSetId = setId;
    const QString answeredAt = utcText(a.answeredAt);
    const bool rightFirst = a.attempt == 1 && a.correct && !a.answerShown;
    // The rule, the child's base limit and the fact row as they stand: one
    // row, read before the answer so that it carries the limit in force.
    QString latest, rightTimes;
    int box = 0, keep = MasteryRule().lastAnswers, baseMs = kDefaultBaseLimitMs;
    bool timed = false;
    QSqlQuery& before = prepared(QStringLiteral(
        "SELECT r.last_answers, f.latest, f.box, r.timed, c.base_limit_ms, f.right_times "
        "FROM rules r JOIN children c ON c.id = ? "
        "LEFT JOIN facts f ON f.child_id = c.id AND f.fact = ? WHERE r.id = 1"));
    before.addBindValue(childId);
    before.addBindValue(a.fact);
    if (!before.exec()) return failed(before);
    if (before.next()) {
        keep = before.value(0).toInt();
        latest = before.value(1).toString();
        box = before.value(2).toInt();
        timed = before.value(3).toBool();
        baseMs = baseLimitStep(before.value(4).toInt());
        rightTimes = before.value(5).toString();
    }
    before.finish();
    std::optional<int> limit;
    if (timed && isRecallFact(a.fact)) {
        // The keying is read from the fact rows once, and again only when
        // an answer may have changed it.
        auto known = m_keyMs.constFind(childId);
        if (known == m_keyMs.cend()) known = m_keyMs.insert(childId, readKeyMs(m_connection, childId));
        limit = Pace{baseMs, *known}.limitFor(a.rightAnswer);
    }
    QSqlQuery& answer = prepared(QStringLiteral(
        "INSERT INTO answers(set_id, position, fact, right_answer, typed, attempt, correct, "
        "answer_shown, hint, elapsed_ms, answered_at, uid, limit_ms) "
        "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (uid) DO NOTHING RETURNING id"));
    answer.addBindValue(newSetId);
    answer.addBindValue(a.position);
    answer.addBindValue(a.fact);
    answer.addBindValue(a.rightAnswer);
    answer.addBindValue(a.typed);
    answer.addBindValue(a.attempt);
    answer.addBindValue(a.correct ? 1 : 0);
    answer.addBindValue(a.answerShown ? 1 : 0);
    answer.addBindValue(a.hint.isEmpty() ? QVariant() : QVariant(a.hint));
    answer.addBindValue(a.elapsedMs);
    answer.addBindValue(answeredAt);
    answer.addBindValue(uidValue(a.uid));
    answer.addBindValue(limit ? QVariant(*limit) : QVariant(QMetaType(QMetaType::Int)));
    if (!answer.exec()) return failed(answer);
    if (!answer.next()) {
        // Stored before: its counts were brought up to date with it then.
        answer.finish();
        return true;
    }
    const qint64 answerId = answer.value(0).toLongLong();
    answer.finish();
    QSqlQuery& setCounts = prepared(QStringLiteral(
        "UPDATE sets SET first_tries = first_tries + ?, first_right = first_right + ?, "
        "smaller_multiple_hints = smaller_multiple_hints + ?, "
        "larger_divisor_hints = larger_divisor_hints + ?, last_answered_at = ? WHERE id = ?"));
    setCounts.addBindValue(a.attempt == 1 ? 1 : 0);
    setCounts.addBindValue(rightFirst ? 1 : 0);
    setCounts.addBindValue(a.hint == u"smaller-multiple" ? 1 : 0);
    setCounts.addBindValue(a.hint == u"larger-divisor" ? 1 : 0);
    setCounts.addBindValue(answeredAt);
    setCounts.addBindValue(newSetId);
    if (!setCounts.exec()) return failed(setCounts);
    if (a.attempt == 1) {
        // The first try at a problem is what a fact's record counts.
        const QDate day = a.answeredAt.toLocalTime().date();
        box = nextBox(box, rightFirst);
        if (rightFirst) {
            rightTimes = withRightTime(rightTimes, a.elapsedMs);
            // A number typed, or a recall while the keying is not known yet,
            // may tell the keying anew.
            if (answerInQuestion(a.fact) || !m_keyMs.value(childId)) m_keyMs.remove(childId);
        }
        QSqlQuery& fact = prepared(QStringLiteral(
            "INSERT INTO facts(child_id, fact, seen, first_try_right, streak, last_seen, latest, "
            "last_missed, box, due, right_answer, right_times) "
            "VALUES(?, ?, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?) "
            "ON CONFLICT(child_id, fact) DO UPDATE SET "
            "seen = facts.seen + 1, "
            "first_try_right = facts.first_try_right + excluded.first_try_right, "
            "streak = CASE WHEN excluded.first_try_right = 1 THEN facts.streak + 1 ELSE 0 END, "
            "last_seen = excluded.last_seen, latest = excluded.latest, "
            "last_missed = COALESCE(excluded.last_missed, facts.last_missed), "
            "box = excluded.box, due = excluded.due, right_answer = excluded.right_answer, "
            "right_times = excluded.right_times"));
        fact.addBindValue(childId);
        fact.addBindValue(a.fact);
        fact.addBindValue(rightFirst ? 1 : 0);
        fact.addBindValue(rightFirst ? 1 : 0);
        fact.addBindValue(answeredAt);
        fact.addBindValue(withFirstTry(latest, day, rightFirst, keep));
        fact.addBindValue(rightFirst ? QVariant() : QVariant(answeredAt));
        fact.addBindValue(box);
        fact.addBindValue(dueDay(box, day).toString(Qt::ISODate));
        fact.addBindValue(a.rightAnswer);
        fact.addBindValue(rightTimes);
        if (!fact.exec()) return failed(fact);
    }
    if (m_queueing) {
        QSqlQuery& queued = prepared(QStringLiteral("INSERT INTO outbox(answer_id) VALUES(?)"));
        queued.addBindValue(answerId);
        if (!queued.exec()) return failed(queued);
    }
    return true;
}

bool RecordsStore::endSet(qint64 setId, int score, const QDateTime& endedAt)
{
    if (!begin()) return false;
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("UPDATE sets SET ended_at = ?, score = ? WHERE id = ?"));
    q.addBindValue(utcText(endedAt));
    q.addBindValue(score);
    q.addBindValue(setId);
    bool ok = q.exec();
    if (ok && m_queueing) {
        q.prepare(QStringLiteral("INSERT INTO outbox(ended_set_id) VALUES(?)"));
        q.addBindValue(setId);
        ok = q.exec();
    }
    if (!ok) {
        fail(QStringLiteral("cannot end a set"), q.lastError());
        rollback();
        return false;
    }
    return commit();
}

bool RecordsStore::endSet(const QString& setUid, int score, const QDateTime& endedAt)
{
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("UPDATE sets SET ended_at = ?, score = ? WHERE uid = ?"));
    q.addBindValue(utcText(endedAt));
    q.addBindValue(score);
    q.addBindValue(setUid);
    return q.exec() || fail(QStringLiteral("cannot end a set"), q.lastError());
}

std::optional<qint64> RecordsStore::loginChild(const QString& login)
{
    QSqlQuery q(m_connection.database());
    const auto found = m_connection.dialect().login(m_connection, login);
    if (!found) return std::nullopt;
    const QString name = *found;
    q.prepare(QStringLiteral("SELECT id FROM children WHERE login = ?"));
    q.addBindValue(name);
    if (q.exec() && q.next()) return q.value(0).toLongLong();
    q.prepare(QStringLiteral(
        "INSERT INTO children(nickname, login, created_at) VALUES(?, ?, ?) RETURNING id"));
    q.addBindValue(name);
    q.addBindValue(name);
    q.addBindValue(utcText(QDateTime::currentDateTimeUtc()));
    if (!q.exec() || !q.next()) {
        fail(QStringLiteral("cannot add the child of login ") + name, q.lastError());
        return std::nullopt;
    }
    return q.value(0).toLongLong();
}

std::optional<QList<RecordsStore::Outgoing>> RecordsStore::outgoing(int limit)
{
    QSqlQuery& q = prepared(QStringLiteral(
        "SELECT o.id, s.id, s.program, s.choice, s.problem_count, s.uid, s.score, s.ended_at, "
        "a.id, a.position, a.fact, a.right_answer, a.typed, a.attempt, a.correct, "
        "a.answer_shown, a.hint, a.elapsed_ms, a.answered_at, a.uid "
        "FROM outbox o LEFT JOIN answers a ON a.id = o.answer_id "
        "JOIN sets s ON s.id = COALESCE(a.set_id, o.ended_set_id) ORDER BY o.id LIMIT ?"));
    q.addBindValue(limit);
    if (!q.exec()) {
        fail(QStringLiteral("cannot read the outbox"), q.lastError());
        return std::nullopt;
    }
    QList<Outgoing> list;
    while (q.next()) {
        Outgoing o;
        o.id = q.value(0).toLongLong();
        o.setId = q.value(1).toLongLong();
        o.set = {q.value(2).toString(), q.value(3).toString(), q.value(4).toInt(),
                 q.value(5).toString()};
        if (q.value(8).isNull()) {
            o.score = q.value(6).toInt();
            o.endedAt = QDateTime::fromString(q.value(7).toString(), Qt::ISODateWithMs);
        } else {
            AnswerRecord a;
            a.position = q.value(9).toInt();
            a.fact = q.value(10).toString();
            a.rightAnswer = q.value(11).toString();
            a.typed = q.value(12).toString();
            a.attempt = q.value(13).toInt();
            a.correct = q.value(14).toInt() != 0;
            a.answerShown = q.value(15).toInt() != 0;
            a.hint = q.value(16).toString();
            a.elapsedMs = q.value(17).toLongLong();
            a.answeredAt = QDateTime::fromString(q.value(18).toString(), Qt::ISODateWithMs);
            a.uid = q.value(19).toString();
            o.answer = a;
        }
        list << o;
    }
    q.finish();
    return list;
}

bool RecordsStore::markSent(qint64 outgoingId)
{
    QSqlQuery& q = prepared(QStringLiteral("DELETE FROM outbox WHERE id <= ?"));
    q.addBindValue(outgoingId);
    return q.exec() || fail(QStringLiteral("cannot mark as sent"), q.lastError());
}

int RecordsStore::keptMonths()
{
    QSqlQuery q(m_connection.database());
    if (!q.exec(QStringLiteral("SELECT months FROM keeping WHERE id = 1")) || !q.next())
        return kKeepAll;
    return q.value(0).toInt(); // NULL reads as 0, kKeepAll
}

bool RecordsStore::setKeptMonths(int months)
{
    if (!keepingChoices().contains(months))
        return fail(QStringLiteral("not a choice of months kept: %1").arg(months), QString());
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("UPDATE keeping SET months = ? WHERE id = 1"));
    q.addBindValue(months == kKeepAll ? QVariant() : QVariant(months));
    return q.exec() || fail(QStringLiteral("cannot keep the months"), q.lastError().text());
}

std::optional<qint64> RecordsStore::countAnswersBefore(const QDateTime& cutOff)
{
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("SELECT count(*) FROM answers WHERE answered_at < ?"));
    q.addBindValue(utcText(cutOff));
    if (!q.exec() || !q.next()) {
        fail(QStringLiteral("cannot count the old answers"), q.lastError().text());
        return std::nullopt;
    }
    return q.value(0).toLongLong();
}

std::optional<qint64> RecordsStore::removeAnswersBefore(const QDateTime& cutOff)
{
    // Nothing else is read from an answer once it is written: its fact row
    // and its set's counts were brought up to date with it (and filled from
    // the answers when the file came to schema 2), so they stand as they are.
    const QString before = utcText(cutOff);
    const QSqlDatabase db = m_connection.database();
    // The next batch is found without the write lock: answers are numbered
    // in the order they came, so the oldest lie at the start.
    QSqlQuery find(db);
    find.setForwardOnly(true);
    find.prepare(QStringLiteral("SELECT count(*), max(id) FROM (SELECT id FROM answers "
                                "WHERE answered_at < ? ORDER BY id LIMIT ?)"));
    QSqlQuery remove(db);
    remove.prepare(QStringLiteral("DELETE FROM answers WHERE id <= ? AND answered_at < ?"));
    const auto removeUpTo = [&](qint64 last) {
        if (!exec(QStringLiteral("BEGIN IMMEDIATE"))) return -1;
        remove.addBindValue(last);
        remove.addBindValue(before);
        if (!remove.exec()) {
            fail(QStringLiteral("cannot remove old answers"), remove.lastError().text());
            exec(QStringLiteral("ROLLBACK"));
            return -1;
        }
        const int count = remove.numRowsAffected();
        if (exec(QStringLiteral("COMMIT"))) return count;
        exec(QStringLiteral("ROLLBACK"));
        return -1;
    };
    qint64 removed = 0;
    bool ok = true;
    for (int found = kRemovedPerTransaction; ok && found == kRemovedPerTransaction;) {
        find.addBindValue(before);
        find.addBindValue(kRemovedPerTransaction);
        if (!find.exec() || !find.next()) {
            ok = fail(QStringLiteral("cannot find the old answers"), find.lastError().text());
            break;
        }
        found = find.value(0).toInt();
        const qint64 last = find.value(1).toLongLong();
        find.finish();
        if (found == 0) break;
        const int count = removeUpTo(last);
        ok = count >= 0;
        if (ok) removed += count;
    }
    // Also after a failure part way: what went must not stay in the journal.
    if (removed > 0 && !m_connection.dialect().forgetDeleted(m_connection)) ok = false;
    if (!ok) return std::nullopt;
    return removed;
}

std::optional<qint64> RecordsStore::keepToSetting(const QDate& today)
{
    // The day is claimed in one statement: of two drills started together
    // one removes, and neither again until the next day.
    QSqlQuery claim(m_connection.database());
    claim.prepare(QStringLiteral("UPDATE keeping SET removed_on = ? "
                                 "WHERE id = 1 AND months IS NOT NULL AND removed_on IS NOT ?"));
    claim.addBindValue(today.toString(Qt::ISODate));
    claim.addBindValue(today.toString(Qt::ISODate));
    if (!claim.exec()) {
        fail(QStringLiteral("cannot keep the day of removal"), claim.lastError().text());
        return std::nullopt;
    }
    if (claim.numRowsAffected() == 0) return 0;
    claim.finish();
    // Never a cut-off of today: a choice unread keeps everything.
    const int months = keptMonths();
    if (months == kKeepAll) return 0;
    return removeAnswersBefore(keepingCutOff(months, today));
}

} // namespace common::records
