// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/reads/review.h"

#include "records/database/connection.h"
#include "records/tables/fact_rows.h"

#include <QSet>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <random>

namespace common::records {

namespace {

// Known facts put after each due one.
constexpr int kKnownPerDue = 3;
// A run of first-try rights this long makes a fact known before it is mastered.
constexpr int kKnownStreak = 3;

// The fact as the drill shows it after its kind: "div:17/5" is "17÷5".
QString questionOf(const QString& fact)
{
    QString question = fact.mid(fact.indexOf(u':') + 1);
    if (fact.startsWith(u"div:")) question.replace(u'/', u'÷');
    return question;
}

} // namespace

QList<ReviewProblem> readReviewSet(const Connection& connection, qint64 child, const QDate& today,
                                   quint32 seed, int mostDue)
{
    if (mostDue <= 0) return {};
    const QSqlDatabase db = connection.database();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    // Numira's facts only: Bairo's pairs are drawn by their level, not rebuilt.
    q.prepare(QStringLiteral("SELECT fact, right_answer FROM facts "
                             "WHERE child_id = ? AND seen > first_try_right AND due <= ? "
                             "AND substr(fact, 1, 4) IN ('add:', 'sub:', 'mul:', 'div:') "
                             "ORDER BY due, fact LIMIT ?"));
    q.addBindValue(child);
    q.addBindValue(today.toString(Qt::ISODate));
    q.addBindValue(mostDue);
    if (!q.exec()) return {};
    QList<ReviewProblem> due;
    QSet<QString> dueFacts;
    while (q.next()) {
        const QString fact = q.value(0).toString();
        due.append({fact, questionOf(fact), q.value(1).toString(), true});
        dueFacts.insert(fact);
    }

    // Known as of the end of today.
    const MasteryRule rule = readRule(db);
    const QDateTime endOfToday = QDateTime(today.addDays(1), QTime(0, 0)).toUTC();
    // Fewer first tries than the rule looks at cannot be mastered.
    const Pace pace = rule.timed ? readPace(connection, child) : Pace{};
    q.prepare(QStringLiteral("SELECT fact, right_answer, streak, latest, last_missed, "
                             "right_times FROM facts "
                             "WHERE child_id = ? AND (streak >= ? OR seen >= ?) "
                             "AND substr(fact, 1, 4) IN ('add:', 'sub:', 'mul:', 'div:') "
                             "ORDER BY fact"));
    q.addBindValue(child);
    q.addBindValue(kKnownStreak);
    q.addBindValue(rule.lastAnswers);
    if (!q.exec()) return {};
    QList<ReviewProblem> known;
    // Right but slow, the furthest over its limit first.
    QList<std::pair<qint64, ReviewProblem>> slow;
    while (q.next()) {
        const QString fact = q.value(0).toString();
        if (dueFacts.contains(fact)) continue;
        const QVariant lastMissed = q.value(4);
        const QString answer = q.value(1).toString();
        const QList<qint64> times = parseRightTimes(q.value(5).toString());
        const FactState state =
            fluentState(factState(parseFirstTries(q.value(3).toString()),
                                  lastMissed.isNull() ? QDateTime()
                                                      : QDateTime::fromString(lastMissed.toString(),
                                                                              Qt::ISODateWithMs),
                                  rule, endOfToday),
                        rule, fact, answer, times, pace);
        if (state == FactState::kSlow)
            slow.append(
                {*usualMs(times) - *pace.limitFor(answer), {fact, questionOf(fact), answer, true}});
        else if (q.value(2).toInt() >= kKnownStreak || state == FactState::kMastered)
            known.append({fact, questionOf(fact), answer, false});
    }
    // The slow facts come after the missed ones, so that each comes back
    // until it is quick.
    std::stable_sort(slow.begin(), slow.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& [over, problem] : slow) {
        if (due.size() >= mostDue) break;
        due.append(problem);
    }
    return amongKnown(due, std::move(known), seed);
}

QList<ReviewProblem> amongKnown(const QList<ReviewProblem>& due, QList<ReviewProblem> known,
                                quint32 seed)
{
    if (due.isEmpty()) return {};
    // Drawn without repeats, dealt to the due facts in turn, so that with
    // few known facts each due one still has about as many as the others.
    std::mt19937 random(seed);
    std::shuffle(known.begin(), known.end(), random);
    const qsizetype drawn = std::min<qsizetype>(known.size(), kKnownPerDue * due.size());
    QList<QList<ReviewProblem>> after(due.size());
    for (qsizetype i = 0; i < drawn; ++i) after[i % due.size()].append(known[i]);
    QList<ReviewProblem> set;
    for (qsizetype i = 0; i < due.size(); ++i) {
        set.append(due[i]);
        set.append(after[i]);
    }
    return set;
}

} // namespace common::records
