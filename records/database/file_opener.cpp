// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/database/file_opener.h"

#include "records/database/migrations.h"
#include "records/messages/records_messages.h"
#include "records/tables/notices_table.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace common::records {

namespace {

// "NMBR": marks the file as ours for anyone who opens it.
constexpr int kApplicationId = 0x4E4D4252;
constexpr int kBusyTimeoutMs = 5000;
// A file up to this size is checked page by page at every opening; it takes
// a family's file some tens of milliseconds, a class's half a second.
constexpr qint64 kAlwaysCheckedBytes = 32 * 1024 * 1024;

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// A fresh (empty) file, or one that starts as every SQLite database does.
bool looksLikeDatabase(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return true; // unreadable: let the opening say why
    if (f.size() == 0) return true;
    return f.size() >= 512 && f.read(16) == QByteArrayView("SQLite format 3\0", 16);
}

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

} // namespace

OpeningReport FileOpener::report(Opening opening) const
{
    OpeningReport r;
    r.opening = opening;
    r.detail = m_connection.errorText();
    return r;
}

OpeningReport FileOpener::open(const QString& file)
{
    m_connection.close();
    m_connection.setErrorText({});
    m_connection.choose(fileDialect());
    const QFileInfo info(file);
    const QString folder = info.absolutePath();
    if (!QDir().mkpath(folder)) {
        m_connection.fail(QStringLiteral("cannot make the folder ") + folder);
        return report();
    }
    QFile::setPermissions(folder, kOwnerOnly | QFileDevice::ExeOwner);
    if (!info.exists()) {
        // Made empty and private before SQLite writes a byte into it.
        QFile fresh(file);
        // The other drill may have made it a moment ago: that one is used.
        if (!fresh.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnly) &&
            !QFileInfo::exists(file)) {
            m_connection.fail(QStringLiteral("cannot make ") + file, fresh.errorString());
            return report();
        }
    } else if (!looksLikeDatabase(file)) {
        return moveAside(file, QStringLiteral("not a records file"));
    }
    QFile::setPermissions(file, kOwnerOnly);
    return checkAndMigrate(file);
}

OpeningReport FileOpener::checkAndMigrate(const QString& file)
{
    if (!m_connection.open(fileDialect(), [&](QSqlDatabase& db) {
            db.setDatabaseName(file);
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
        })) {
        m_connection.fail(QStringLiteral("cannot open ") + file, m_connection.errorText());
        return report();
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
            m_connection.fail(QStringLiteral("cannot read ") + file, e.text());
            return report();
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
        m_connection.fail(
            QStringLiteral("made by a newer version (schema %1, this program knows %2)")
                .arg(version)
                .arg(schemaVersion()));
        return report(opened ? Opening::kReadOnly : Opening::kFailed);
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
    if (!configure() || !migrate(version)) return report();
    // The journal's companions take the file's own permissions; the file
    // is set again in case it was made by another way.
    QFile::setPermissions(file, kOwnerOnly);
    return report(Opening::kOpened);
}

bool FileOpener::configure()
{
    // WAL: a drill writing never waits for the records window reading.
    // NORMAL: a commit survives a killed program; only a power cut may lose
    // the last answers. secure_delete: deleted rows are overwritten.
    return m_connection.exec(QStringLiteral("PRAGMA journal_mode=WAL")) &&
           m_connection.exec(QStringLiteral("PRAGMA synchronous=NORMAL")) &&
           m_connection.exec(QStringLiteral("PRAGMA foreign_keys=ON")) &&
           m_connection.exec(QStringLiteral("PRAGMA secure_delete=ON"));
}

bool FileOpener::migrate(int from)
{
    if (from == schemaVersion()) return true;
    Transaction transaction(m_connection);
    if (!transaction.began()) return false;
    // Another program may have migrated while this one waited.
    QSqlQuery q(m_connection.database());
    if (q.exec(QStringLiteral("PRAGMA user_version")) && q.next()) from = q.value(0).toInt();
    q.finish();
    for (int v = from; v < schemaVersion(); ++v) {
        const Migration& m = migrations()[v];
        for (const QString& statement : statementsOf(m.schema) + statementsOf(m.fill))
            if (!m_connection.exec(statement)) return false;
        for (const char* statement : m.file)
            if (!m_connection.exec(QString::fromUtf8(statement))) return false;
    }
    // PRAGMA takes no bound values; both numbers are the program's own.
    return m_connection.exec(QStringLiteral("PRAGMA application_id=%1").arg(kApplicationId)) &&
           m_connection.exec(QStringLiteral("PRAGMA user_version=%1").arg(schemaVersion())) &&
           transaction.commit();
}

OpeningReport FileOpener::moveAside(const QString& file, const QString& why)
{
    m_connection.close();
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = file + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = file + QStringLiteral(".damaged-%1-%2").arg(stamp).arg(n);
    QFile::remove(checkMarker(file));
    if (!QFile::rename(file, target)) {
        m_connection.fail(QStringLiteral("cannot move aside ") + file, why);
        return report();
    }
    for (const char* companion : {"-wal", "-shm"})
        if (QFileInfo::exists(file + QLatin1String(companion)))
            QFile::rename(file + QLatin1String(companion), target + QLatin1String(companion));
    if (open(file).opening != Opening::kOpened) return report();
    m_connection.fail(why);
    NoticesTable(m_connection).add(messages::movedAside(QFileInfo(target).fileName()));
    OpeningReport moved = report(Opening::kMovedAside);
    moved.movedTo = target;
    moved.detail = why;
    return moved;
}

} // namespace common::records
