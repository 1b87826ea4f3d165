// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/tables/keeping_table.h"

#include "records/model/keeping.h"

#include <QVariant>

namespace common::records {

namespace {

// Answers removed in one transaction: a few milliseconds of the write lock.
constexpr int kRemovedPerTransaction = 2000;

} // namespace

int KeepingTable::months()
{
    QSqlQuery q(m_connection.database());
    if (!q.exec(QStringLiteral("SELECT months FROM keeping WHERE id = 1")) || !q.next())
        return kKeepAll;
    return q.value(0).toInt(); // NULL reads as 0, kKeepAll
}

bool KeepingTable::setMonths(int months)
{
    if (!keepingChoices().contains(months))
        return m_connection.fail(QStringLiteral("not a choice of months kept: %1").arg(months),
                                 QString());
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("UPDATE keeping SET months = ? WHERE id = 1"));
    q.addBindValue(months == kKeepAll ? QVariant() : QVariant(months));
    return q.exec() ||
           m_connection.fail(QStringLiteral("cannot keep the months"), q.lastError().text());
}

std::optional<qint64> KeepingTable::countBefore(const QDateTime& cutOff)
{
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("SELECT count(*) FROM answers WHERE answered_at < ?"));
    q.addBindValue(utcText(cutOff));
    if (!q.exec() || !q.next()) {
        m_connection.fail(QStringLiteral("cannot count the old answers"), q.lastError().text());
        return std::nullopt;
    }
    return q.value(0).toLongLong();
}

std::optional<qint64> KeepingTable::removeBefore(const QDateTime& cutOff)
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
        Transaction transaction(m_connection);
        if (!transaction.began()) return -1;
        remove.addBindValue(last);
        remove.addBindValue(before);
        if (!remove.exec()) {
            m_connection.fail(QStringLiteral("cannot remove old answers"),
                              remove.lastError().text());
            return -1;
        }
        const int count = remove.numRowsAffected();
        return transaction.commit() ? count : -1;
    };
    qint64 removed = 0;
    bool ok = true;
    for (int found = kRemovedPerTransaction; ok && found == kRemovedPerTransaction;) {
        find.addBindValue(before);
        find.addBindValue(kRemovedPerTransaction);
        if (!find.exec() || !find.next()) {
            ok = m_connection.fail(QStringLiteral("cannot find the old answers"),
                                   find.lastError().text());
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

std::optional<qint64> KeepingTable::keepToSetting(const QDate& today)
{
    // The day is claimed in one statement: of two drills started together
    // one removes, and neither again until the next day.
    QSqlQuery claim(m_connection.database());
    claim.prepare(QStringLiteral("UPDATE keeping SET removed_on = ? "
                                 "WHERE id = 1 AND months IS NOT NULL AND removed_on IS NOT ?"));
    claim.addBindValue(today.toString(Qt::ISODate));
    claim.addBindValue(today.toString(Qt::ISODate));
    if (!claim.exec()) {
        m_connection.fail(QStringLiteral("cannot keep the day of removal"),
                          claim.lastError().text());
        return std::nullopt;
    }
    if (claim.numRowsAffected() == 0) return 0;
    claim.finish();
    // Never a cut-off of today: a choice unread keeps everything.
    const int months = this->months();
    if (months == kKeepAll) return 0;
    return removeBefore(keepingCutOff(months, today));
}

} // namespace common::records
