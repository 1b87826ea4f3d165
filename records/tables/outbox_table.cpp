// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/tables/outbox_table.h"

#include <QVariant>

namespace common::records {

bool OutboxTable::queueAnswer(qint64 answerId)
{
    QSqlQuery& queued =
        m_connection.prepared(QStringLiteral("INSERT INTO outbox(answer_id) VALUES(?)"));
    queued.addBindValue(answerId);
    return queued.exec() ||
           m_connection.fail(QStringLiteral("cannot record an answer"), queued.lastError());
}

bool OutboxTable::queueEnd(qint64 setId)
{
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("INSERT INTO outbox(ended_set_id) VALUES(?)"));
    q.addBindValue(setId);
    return q.exec() || m_connection.fail(QStringLiteral("cannot end a set"), q.lastError());
}

std::optional<QList<Outgoing>> OutboxTable::outgoing(int limit)
{
    QSqlQuery& q = m_connection.prepared(QStringLiteral(
        "SELECT o.id, s.id, s.program, s.choice, s.problem_count, s.uid, s.score, s.ended_at, "
        "a.id, a.position, a.fact, a.right_answer, a.typed, a.attempt, a.correct, "
        "a.answer_shown, a.hint, a.elapsed_ms, a.answered_at, a.uid, "
        "p.step, p.passed_on, p.by_placement "
        "FROM outbox o LEFT JOIN answers a ON a.id = o.answer_id "
        "LEFT JOIN sets s ON s.id = COALESCE(a.set_id, o.ended_set_id) "
        "LEFT JOIN steps_passed p ON p.child_id = o.passed_child_id AND p.step = o.passed_step "
        "WHERE s.id IS NOT NULL OR p.step IS NOT NULL ORDER BY o.id LIMIT ?"));
    q.addBindValue(limit);
    if (!q.exec()) {
        m_connection.fail(QStringLiteral("cannot read the outbox"), q.lastError());
        return std::nullopt;
    }
    QList<Outgoing> list;
    while (q.next()) {
        Outgoing o;
        o.id = q.value(0).toLongLong();
        if (q.value(1).isNull()) {
            o.passed = PassedStep{q.value(20).toString(), q.value(21).toString(),
                                  q.value(22).toInt() != 0};
            list << o;
            continue;
        }
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

bool OutboxTable::markSent(qint64 outgoingId)
{
    QSqlQuery& q = m_connection.prepared(QStringLiteral("DELETE FROM outbox WHERE id <= ?"));
    q.addBindValue(outgoingId);
    return q.exec() || m_connection.fail(QStringLiteral("cannot mark as sent"), q.lastError());
}

} // namespace common::records
