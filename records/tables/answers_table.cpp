// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/tables/answers_table.h"

#include "records/model/mastery.h"
#include "records/tables/fact_rows.h"

#include <QVariant>

namespace common::records {

namespace {

QString utcText(const QDateTime& t) { return t.toUTC().toString(Qt::ISODateWithMs); }

QVariant uidValue(const QString& uid) { return uid.isEmpty() ? QVariant() : QVariant(uid); }

} // namespace

std::optional<qint64> AnswersTable::write(qint64 childId, const SetRecord& set, qint64& setId,
                                          const AnswerRecord& a)
{
    // The statements are prepared once: this runs at every Return of a drill.
    const auto failed = [&](QSqlQuery& q) {
        m_connection.fail(QStringLiteral("cannot record an answer"), q.lastError());
        q.finish();
        return std::optional<qint64>();
    };
    if (setId == 0) {
        // A set sent again is found by its uid.
        QSqlQuery& q = m_connection.prepared(QStringLiteral(
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
    QSqlQuery& answer = m_connection.prepared(QStringLiteral(
        "INSERT INTO answers(set_id, position, fact, right_answer, typed, attempt, correct, "
        "answer_shown, hint, elapsed_ms, answered_at, uid) "
        "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (uid) DO NOTHING RETURNING id"));
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
    if (!answer.exec()) return failed(answer);
    if (!answer.next()) {
        // Stored before: its counts were brought up to date with it then.
        answer.finish();
        return qint64(0);
    }
    const qint64 answerId = answer.value(0).toLongLong();
    answer.finish();
    const bool rightFirst = a.attempt == 1 && a.correct && !a.answerShown;
    QSqlQuery& setCounts = m_connection.prepared(QStringLiteral(
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
        QString latest;
        int box = 0, keep = MasteryRule().lastAnswers;
        QSqlQuery& before = m_connection.prepared(
            QStringLiteral("SELECT r.last_answers, f.latest, f.box FROM rules r "
                           "LEFT JOIN facts f ON f.child_id = ? AND f.fact = ? "
                           "WHERE r.id = 1"));
        before.addBindValue(childId);
        before.addBindValue(a.fact);
        if (!before.exec()) return failed(before);
        if (before.next()) {
            keep = before.value(0).toInt();
            latest = before.value(1).toString();
            box = before.value(2).toInt();
        }
        before.finish();
        box = nextBox(box, rightFirst);
        QSqlQuery& fact = m_connection.prepared(QStringLiteral(
            "INSERT INTO facts(child_id, fact, seen, first_try_right, streak, last_seen, latest, "
            "last_missed, box, due, right_answer) VALUES(?, ?, 1, ?, ?, ?, ?, ?, ?, ?, ?) "
            "ON CONFLICT(child_id, fact) DO UPDATE SET "
            "seen = facts.seen + 1, "
            "first_try_right = facts.first_try_right + excluded.first_try_right, "
            "streak = CASE WHEN excluded.first_try_right = 1 THEN facts.streak + 1 ELSE 0 END, "
            "last_seen = excluded.last_seen, latest = excluded.latest, "
            "last_missed = COALESCE(excluded.last_missed, facts.last_missed), "
            "box = excluded.box, due = excluded.due, right_answer = excluded.right_answer"));
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
        if (!fact.exec()) return failed(fact);
    }
    return answerId;
}

bool AnswersTable::endSet(qint64 setId, int score, const QDateTime& endedAt)
{
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("UPDATE sets SET ended_at = ?, score = ? WHERE id = ?"));
    q.addBindValue(utcText(endedAt));
    q.addBindValue(score);
    q.addBindValue(setId);
    return q.exec() || m_connection.fail(QStringLiteral("cannot end a set"), q.lastError());
}

bool AnswersTable::endSet(const QString& setUid, int score, const QDateTime& endedAt)
{
    QSqlQuery q(m_connection.database());
    q.prepare(QStringLiteral("UPDATE sets SET ended_at = ?, score = ? WHERE uid = ?"));
    q.addBindValue(utcText(endedAt));
    q.addBindValue(score);
    q.addBindValue(setUid);
    return q.exec() || m_connection.fail(QStringLiteral("cannot end a set"), q.lastError());
}

} // namespace common::records
