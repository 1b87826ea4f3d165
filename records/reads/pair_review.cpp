// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/reads/pair_review.h"

#include "records/database/connection.h"
#include "records/tables/fact_rows.h"

#include <QSqlQuery>
#include <QVariant>

namespace common::records {

namespace {

// A run of first-try rights this long makes a pair known before it is mastered.
constexpr int kPairKnownStreak = 3;

// The pair after the kind: "lcm:6,8" is "6,8".
QString pairOf(const QString& fact) { return fact.mid(fact.indexOf(u':') + 1); }

} // namespace

QList<ReviewProblem> readPairReviewSet(const Connection& connection, qint64 child,
                                       const QDate& today, quint32 seed, int mostDue)
{
    if (mostDue <= 0) return {};
    const QSqlDatabase db = connection.database();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT fact, right_answer FROM facts "
                             "WHERE child_id = ? AND seen > first_try_right AND due <= ? "
                             "AND substr(fact, 1, 4) IN ('lcm:', 'gcd:') "
                             "ORDER BY due, fact LIMIT ?"));
    q.addBindValue(child);
    q.addBindValue(today.toString(Qt::ISODate));
    q.addBindValue(mostDue);
    if (!q.exec()) return {};
    QList<ReviewProblem> due;
    QStringList dueFacts;
    while (q.next()) {
        const QString fact = q.value(0).toString();
        due.append({fact, pairOf(fact), q.value(1).toString(), true});
        dueFacts << fact;
    }
    if (due.isEmpty()) return {};

    // Known as of the end of today, by the file's rule of accuracy.
    const MasteryRule rule = readRule(db);
    const QDateTime endOfToday = QDateTime(today.addDays(1), QTime(0, 0)).toUTC();
    q.prepare(QStringLiteral("SELECT fact, right_answer, streak, latest, last_missed FROM facts "
                             "WHERE child_id = ? AND (streak >= ? OR seen >= ?) "
                             "AND substr(fact, 1, 4) IN ('lcm:', 'gcd:') ORDER BY fact"));
    q.addBindValue(child);
    q.addBindValue(kPairKnownStreak);
    q.addBindValue(rule.lastAnswers);
    if (!q.exec()) return {};
    QList<ReviewProblem> known;
    while (q.next()) {
        const QString fact = q.value(0).toString();
        if (dueFacts.contains(fact)) continue;
        const QVariant lastMissed = q.value(4);
        const bool mastered =
            factState(parseFirstTries(q.value(3).toString()),
                      lastMissed.isNull()
                          ? QDateTime()
                          : QDateTime::fromString(lastMissed.toString(), Qt::ISODateWithMs),
                      rule, endOfToday) == FactState::kMastered;
        if (q.value(2).toInt() >= kPairKnownStreak || mastered)
            known.append({fact, pairOf(fact), q.value(1).toString(), false});
    }
    return amongKnown(due, std::move(known), seed);
}

} // namespace common::records
