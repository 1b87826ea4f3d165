// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/reads/day_set.h"

#include "records/database/connection.h"
#include "records/model/fluency.h"
#include "records/tables/fact_rows.h"
#include "records/tables/path_table.h"

#include <QSet>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace common::records {

namespace {

// The sets whose pace tells the child's usual time per problem.
constexpr int kPaceSets = 10;

// What marks a day: a day's set ended with every problem answered.
QString dayChoicePrefix() { return QStringLiteral("today:"); }

QDateTime storedTime(const QVariant& value)
{
    return QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
}

QDate localDay(const QVariant& stored) { return storedTime(stored).toLocalTime().date(); }

// The kind a set of this choice counts for: a procedure step's own sets and
// the day's sets of it.
QString procedureStepOf(const QString& choice)
{
    const QString prefix = dayChoicePrefix();
    const QString step = choice.startsWith(prefix) ? choice.mid(prefix.size()) : choice;
    return isStep(step) && !isRecallStep(step) ? step : QString();
}

// Where a local day starts, as the records keep times.
QString dayStartText(const QDate& day) { return utcText(QDateTime(day, QTime(0, 0))); }

bool readPlanFacts(const Connection& connection, qint64 child, const QDate& today, PlanInput& input)
{
    const QSqlDatabase db = connection.database();
    const MasteryRule rule = readRule(db);
    const Pace pace = rule.timed ? readPace(connection, child) : Pace{};
    const QDateTime endOfToday = QDateTime(today.addDays(1), QTime(0, 0)).toUTC();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    // Numira's facts only: Bairo's pairs are not on a path.
    // In one order on both databases, so that both give the planner the same.
    q.prepare(connection.dialect().query(
        QStringLiteral("SELECT fact, right_answer, seen, first_try_right, latest, last_missed, "
                       "due, right_times FROM facts WHERE child_id = ? "
                       "AND substr(fact, 1, 4) IN ('add:', 'sub:', 'mul:', 'div:') "
                       "ORDER BY fact COLLATE BINARY")));
    q.addBindValue(child);
    if (!q.exec()) return false;
    while (q.next()) {
        PlanFact f;
        f.fact = q.value(0).toString();
        f.answer = q.value(1).toString();
        f.seen = q.value(2).toInt();
        f.firstTryRight = q.value(3).toInt();
        f.missedEver = f.seen > f.firstTryRight;
        const QVariant lastMissed = q.value(5);
        const QList<qint64> times = parseRightTimes(q.value(7).toString());
        f.state = fluentState(factState(parseFirstTries(q.value(4).toString()),
                                        lastMissed.isNull() ? QDateTime() : storedTime(lastMissed),
                                        rule, endOfToday),
                              rule, f.fact, f.answer, times, pace);
        if (f.missedEver && !q.value(6).isNull())
            f.due = QDate::fromString(q.value(6).toString(), Qt::ISODate);
        // Slow or not as fluentState tells it: no limit while the keying
        // is not known, none under the accuracy rule.
        std::optional<int> limit;
        if (rule.timed && isRecallFact(f.fact)) limit = pace.limitFor(f.answer);
        const std::optional<qint64> usual = usualMs(times);
        if (limit && usual && *usual > *limit) f.overLimitMs = *usual - *limit;
        f.quickAtEveryTry = f.seen > 0 && !f.missedEver && f.overLimitMs == 0;
        input.facts.insert(f.fact, f);
    }
    return true;
}

// The procedure steps' sets, and the child's usual time per problem in its
// latest sets.
bool readPlanSets(const Connection& connection, qint64 child, PlanInput& input,
                  std::optional<qint64>& usualMsPerProblem)
{
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral(
        "SELECT choice, ended_at, problem_count, score, started_at, "
        "last_answered_at, first_tries FROM sets WHERE child_id = ? "
        "AND program = ? AND ended_at IS NOT NULL ORDER BY started_at DESC, id DESC"));
    q.addBindValue(child);
    q.addBindValue(QStringLiteral("numira"));
    if (!q.exec()) return false;
    QList<qint64> perProblem;
    while (q.next()) {
        const QString step = procedureStepOf(q.value(0).toString());
        if (!step.isEmpty())
            input.sets.append({step, localDay(q.value(1)), q.value(2).toInt(), q.value(3).toInt()});
        const int tries = q.value(6).toInt();
        if (perProblem.size() < kPaceSets && tries > 0 && !q.value(5).isNull()) {
            const qint64 ms = storedTime(q.value(4)).msecsTo(storedTime(q.value(5)));
            if (ms > 0) perProblem.append(ms / tries);
        }
    }
    // Oldest first, as the planner counts days.
    std::reverse(input.sets.begin(), input.sets.end());
    usualMsPerProblem = usualMs(perProblem);
    return true;
}

} // namespace

std::optional<PlanInput> readPlanInput(const Connection& connection, qint64 child,
                                       const QDate& today)
{
    const std::optional<ChildPlan> plan = readChildPlan(connection, child);
    if (!plan) return std::nullopt;
    PlanInput input;
    input.child = child;
    input.today = today;
    input.path = plan->path;
    input.passed = plan->passed;
    input.placing = plan->placing;
    std::optional<qint64> usualMsPerProblem;
    if (!readPlanFacts(connection, child, today, input) ||
        !readPlanSets(connection, child, input, usualMsPerProblem))
        return std::nullopt;
    input.problems = plan->dayProblems == kAboutTenMinutes
                         ? problemsForTenMinutes(usualMsPerProblem)
                         : plan->dayProblems;
    return input;
}

std::optional<DaySet> readDaySet(const Connection& connection, qint64 child, const QDate& today)
{
    const std::optional<PlanInput> input = readPlanInput(connection, child, today);
    if (!input) return std::nullopt;
    return planDay(*input);
}

std::optional<DayMarks> readDayMarks(const Connection& connection, qint64 child, const QDate& today)
{
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT ended_at FROM sets WHERE child_id = ? "
                             "AND substr(choice, 1, 6) = ? AND ended_at IS NOT NULL "
                             "AND ended_at < ? AND first_tries >= problem_count"));
    q.addBindValue(child);
    q.addBindValue(dayChoicePrefix());
    q.addBindValue(dayStartText(today.addDays(1)));
    if (!q.exec()) return std::nullopt;
    QSet<QDate> marked;
    while (q.next()) marked.insert(localDay(q.value(0)));
    DayMarks marks;
    marks.today = marked.contains(today);
    for (const QDate& day : std::as_const(marked))
        if (day.year() == today.year() && day.month() == today.month() && day <= today)
            marks.month.append(day);
    std::sort(marks.month.begin(), marks.month.end());
    // A row still goes on while today is not yet marked.
    for (QDate day = marks.today ? today : today.addDays(-1); marked.contains(day);
         day = day.addDays(-1))
        ++marks.daysInRow;
    return marks;
}

std::optional<bool> isDaysFirstMark(const Connection& connection, qint64 child, qint64 set,
                                    const QDate& today)
{
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    // The set marks today, and no other set marked it.
    q.prepare(QStringLiteral(
        "SELECT count(*), coalesce(sum(CASE WHEN id = ? THEN 1 ELSE 0 END), 0) FROM sets "
        "WHERE child_id = ? AND substr(choice, 1, 6) = ? AND ended_at IS NOT NULL "
        "AND ended_at >= ? AND ended_at < ? AND first_tries >= problem_count"));
    q.addBindValue(set);
    q.addBindValue(child);
    q.addBindValue(dayChoicePrefix());
    q.addBindValue(dayStartText(today));
    q.addBindValue(dayStartText(today.addDays(1)));
    if (!q.exec() || !q.next()) return std::nullopt;
    return q.value(0).toLongLong() == 1 && q.value(1).toLongLong() == 1;
}

} // namespace common::records
