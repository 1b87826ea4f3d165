// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/store/records_store.h"

#include "records/database/file_opener.h"
#include "records/database/server_opener.h"
#include "records/messages/records_messages.h"
#include "records/tables/answers_table.h"
#include "records/tables/children_table.h"
#include "records/tables/keeping_table.h"
#include "records/tables/notices_table.h"

#include <QFileInfo>

namespace common::records {

RecordsStore::RecordsStore() = default;

RecordsStore::~RecordsStore() { close(); }

void RecordsStore::close()
{
    // The keying read belongs to the database it was read from: another
    // opened next numbers its children anew.
    m_keying.clear();
    m_connection.close();
}

Opening RecordsStore::open(const QString& file)
{
    m_keying.clear();
    m_opened = FileOpener(m_connection).open(file);
    return m_opened.opening;
}

std::optional<Opening> RecordsStore::openExisting(const QString& file)
{
    if (!QFileInfo::exists(file)) return std::nullopt;
    return open(file);
}

Opening RecordsStore::openServer(const QString& service)
{
    m_keying.clear();
    m_opened = records::openServer(m_connection, service);
    return m_opened.opening;
}

std::optional<QString> RecordsStore::openingWarning(Opening opening) const
{
    OpeningReport report = m_opened;
    report.opening = opening;
    report.detail = errorText();
    return messages::openingWarning(report);
}

QList<Child> RecordsStore::children() { return ChildrenTable(m_connection).all(); }

std::optional<QString> RecordsStore::addChild(const QString& nickname, qint64* id)
{
    return ChildrenTable(m_connection).add(nickname, id);
}

std::optional<QString> RecordsStore::renameChild(qint64 id, const QString& nickname)
{
    return ChildrenTable(m_connection).rename(id, nickname);
}

bool RecordsStore::deleteChild(qint64 id)
{
    m_keying.remove(id);
    return ChildrenTable(m_connection).remove(id);
}

bool RecordsStore::setBaseLimit(qint64 child, int ms)
{
    return !isReadOnly() && ChildrenTable(m_connection).setBaseLimit(child, ms);
}

bool RecordsStore::adoptSpeedRule()
{
    if (isReadOnly()) return false;
    QSqlQuery q(m_connection.database());
    return q.exec(QStringLiteral("UPDATE rules SET timed = 1 WHERE id = 1")) ||
           m_connection.fail(QStringLiteral("cannot adopt the rule"), q.lastError());
}

std::optional<qint64> RecordsStore::loginChild(const QString& login)
{
    return ChildrenTable(m_connection).ofLogin(login);
}

std::optional<ChildPlan> RecordsStore::childPlan(qint64 child) const
{
    return readChildPlan(m_connection, child);
}

bool RecordsStore::setGrade(qint64 child, std::optional<int> grade)
{
    return !isReadOnly() && PathTable(m_connection).setGrade(child, grade);
}

bool RecordsStore::setDayProblems(qint64 child, int problems)
{
    return !isReadOnly() && PathTable(m_connection).setDayProblems(child, problems);
}

bool RecordsStore::setPath(qint64 child, const Path& path)
{
    return !isReadOnly() && PathTable(m_connection).setPath(child, path);
}

bool RecordsStore::resetPath(qint64 child)
{
    return !isReadOnly() && PathTable(m_connection).resetPath(child);
}

QStringList RecordsStore::takeNotices() { return NoticesTable(m_connection).take(isReadOnly()); }

bool RecordsStore::addNotice(const QString& text) { return NoticesTable(m_connection).add(text); }

bool RecordsStore::recordAnswer(qint64 childId, const SetRecord& set, qint64& setId,
                                const AnswerRecord& answer)
{
    return writeAnswer(childId, set, setId, answer, false);
}

bool RecordsStore::recordAnswerToSend(qint64 childId, const SetRecord& set, qint64& setId,
                                      const AnswerRecord& answer)
{
    return writeAnswer(childId, set, setId, answer, true);
}

bool RecordsStore::writeAnswer(qint64 childId, const SetRecord& set, qint64& setId,
                               const AnswerRecord& answer, bool toSend)
{
    qint64 newSetId = setId;
    Transaction transaction(m_connection);
    if (!transaction.began()) return false;
    const auto written = AnswersTable(m_connection).write(childId, set, newSetId, answer, m_keying);
    if (!written) return false;
    // An answer stored before went in the outbox then.
    if (toSend && *written != 0 && !OutboxTable(m_connection).queueAnswer(*written)) return false;
    if (!transaction.commit()) return false;
    setId = newSetId;
    return true;
}

bool RecordsStore::endSet(qint64 setId, int score, const QDateTime& endedAt)
{
    return writeEnd(setId, score, endedAt, false);
}

bool RecordsStore::endSetToSend(qint64 setId, int score, const QDateTime& endedAt)
{
    return writeEnd(setId, score, endedAt, true);
}

bool RecordsStore::writeEnd(qint64 setId, int score, const QDateTime& endedAt, bool toSend)
{
    Transaction transaction(m_connection);
    if (!transaction.began()) return false;
    if (!AnswersTable(m_connection).endSet(setId, score, endedAt)) return false;
    if (toSend && !OutboxTable(m_connection).queueEnd(setId)) return false;
    return transaction.commit();
}

std::optional<QList<Outgoing>> RecordsStore::outgoing(int limit)
{
    return OutboxTable(m_connection).outgoing(limit);
}

bool RecordsStore::markSent(qint64 outgoingId)
{
    return OutboxTable(m_connection).markSent(outgoingId);
}

int RecordsStore::keptMonths() { return KeepingTable(m_connection).months(); }

bool RecordsStore::setKeptMonths(int months)
{
    return KeepingTable(m_connection).setMonths(months);
}

std::optional<qint64> RecordsStore::countAnswersBefore(const QDateTime& cutOff)
{
    return KeepingTable(m_connection).countBefore(cutOff);
}

std::optional<qint64> RecordsStore::removeAnswersBefore(const QDateTime& cutOff)
{
    return KeepingTable(m_connection).removeBefore(cutOff);
}

std::optional<qint64> RecordsStore::keepToSetting(const QDate& today)
{
    return KeepingTable(m_connection).keepToSetting(today);
}

} // namespace common::records
