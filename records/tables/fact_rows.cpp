// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/tables/fact_rows.h"

#include "records/database/connection.h"

#include <QSqlQuery>
#include <QVariant>

namespace common::records {

QString withFirstTry(const QString& latest, const QDate& day, bool right, int keep)
{
    QString text =
        day.toString(Qt::ISODate) + (right ? QStringLiteral(":1") : QStringLiteral(":0"));
    if (latest.isEmpty() || keep <= 1) return text;
    // The oldest entries beyond `keep` are cut at their separator.
    qsizetype cut = -1;
    for (int kept = 1; kept < keep; ++kept) {
        cut = latest.indexOf(u' ', cut + 1);
        if (cut < 0) break;
    }
    return text + u' ' + (cut < 0 ? latest : latest.left(cut));
}

QList<FirstTry> parseFirstTries(const QString& latest)
{
    // Read digit by digit: the child page reads thousands of these at once.
    QList<FirstTry> tries;
    const auto number = [&](qsizetype from, qsizetype length) {
        int n = 0;
        for (qsizetype i = from; i < from + length; ++i) n = n * 10 + latest.at(i).digitValue();
        return n;
    };
    constexpr qsizetype kEntry = 12; // "yyyy-MM-dd:1"
    for (qsizetype at = 0; at + kEntry <= latest.size(); at += kEntry + 1)
        tries.append({QDate(number(at, 4), number(at + 5, 2), number(at + 8, 2)),
                      latest.at(at + 11) == u'1'});
    return tries;
}

MasteryRule readRule(const QSqlDatabase& db)
{
    MasteryRule rule;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (q.exec(QStringLiteral("SELECT last_answers, right_needed, days_needed, "
                              "missed_within_days, timed FROM rules WHERE id = 1")) &&
        q.next())
        rule = {q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt(),
                q.value(4).toBool()};
    return rule;
}

std::optional<int> readKeyMs(const Connection& connection, qint64 child)
{
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT fact, right_answer, right_times FROM facts "
                             "WHERE child_id = ? AND right_times <> ''"));
    q.addBindValue(child);
    if (!q.exec()) return std::nullopt;
    QList<TimedAnswer> tries;
    while (q.next()) {
        const QString fact = q.value(0).toString();
        if (!answerInQuestion(fact) && !isRecallFact(fact)) continue;
        const QString answer = q.value(1).toString();
        for (const qint64 ms : parseRightTimes(q.value(2).toString()))
            tries.append({fact, answer, ms});
    }
    return keyMs(tries);
}

Pace readPace(const Connection& connection, qint64 child)
{
    Pace pace;
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT base_limit_ms FROM children WHERE id = ?"));
    q.addBindValue(child);
    if (q.exec() && q.next()) pace.baseMs = baseLimitStep(q.value(0).toInt());
    pace.keyMs = readKeyMs(connection, child);
    return pace;
}

} // namespace common::records
