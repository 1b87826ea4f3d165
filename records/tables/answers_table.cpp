// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/tables/answers_table.h"

#include "records/model/fluency.h"
#include "records/model/mastery.h"
#include "records/tables/fact_rows.h"

#include <QVariant>

namespace common::records {

namespace {

QVariant uidValue(const QString& uid) { return uid.isEmpty() ? QVariant() : QVariant(uid); }

} // namespace

std::optional<qint64> AnswersTable::write(qint64 childId, const SetRecord& set, qint64& setId,
                                          const AnswerRecord& a, KeyingCache& keying)
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
    const bool rightFirst = a.attempt == 1 && a.correct && !a.answerShown;
    // The rule, the child's base limit and the fact row as they stand: one
    // row, read before the answer so that it carries the limit in force.
    QString latest, rightTimes;
    int box = 0, keep = MasteryRule().lastAnswers, baseMs = kDefaultBaseLimitMs;
    bool timed = false;
    QSqlQuery& before = m_connection.prepared(QStringLiteral(
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
        auto known = keying.constFind(childId);
        if (known == keying.cend())
            known = keying.insert(childId, readKeyMs(m_connection, childId));
        limit = Pace{baseMs, *known}.limitFor(a.rightAnswer);
    }
    QSqlQuery& answer = m_connection.prepared(QStringLiteral(
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
        return qint64(0);
    }
    const qint64 answerId = answer.value(0).toLongLong();
    answer.finish();
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
        box = nextBox(box, rightFirst);
        if (rightFirst) {
            rightTimes = withRightTime(rightTimes, a.elapsedMs);
            // A number typed, or a recall while the keying is not known yet,
            // may tell the keying anew.
            if (answerInQuestion(a.fact) || !keying.value(childId)) keying.remove(childId);
        }
        QSqlQuery& fact = m_connection.prepared(QStringLiteral(
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
        // Never NULL: a fact never right yet has no times.
        fact.addBindValue(rightTimes.isNull() ? QStringLiteral("") : rightTimes);
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
