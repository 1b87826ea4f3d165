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
    const QDateTime endOfToday = QDateTime(today.addDays(1), QTime(0, 0)).toUTC();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    // Numira's facts only (Bairo's pairs are not on a path), and the keying
    // ones, whose times tell the child's limits with the recall facts' as
    // readPace tells them: the rows are read once, a child-year's thousands
    // of them. In one order on both databases, so that both give the
    // planner the same.
    q.prepare(connection.dialect().query(QStringLiteral(
        "SELECT fact, right_answer, seen, first_try_right, latest, last_missed, "
        "CASE WHEN seen > first_try_right THEN due END, right_times FROM facts WHERE child_id = ? "
        "AND substr(fact, 1, 4) IN ('add:', 'sub:', 'mul:', 'div:', 'key:') "
        "AND (length(fact) <= 8 OR fact LIKE 'sub:1_-%' OR fact LIKE 'sub:20-%' "
        "OR fact = 'add:10+10' OR fact LIKE '%+0' OR fact LIKE 'add:0+%' OR fact LIKE '%-0' "
        "OR fact LIKE '%x1' OR fact LIKE 'mul:1x%' OR fact LIKE '%/1' "
        "OR (seen > first_try_right AND due <= ?)) "
        "ORDER BY fact COLLATE BINARY")));
    q.addBindValue(child);
    q.addBindValue(today.toString(Qt::ISODate));
    if (!q.exec()) return false;
    QList<TimedAnswer> rightTries;
    // The recall facts, whose speed waits for the limits.
    QList<std::pair<QString, QList<qint64>>> timed;
    while (q.next()) {
        PlanFact f;
        f.fact = q.value(0).toString();
        f.answer = q.value(1).toString();
        const bool recall = isRecallFact(f.fact);
        QList<qint64> times;
        if (rule.timed && (recall || answerInQuestion(f.fact))) {
            times = parseRightTimes(q.value(7).toString());
            for (const qint64 ms : std::as_const(times)) rightTries.append({f.fact, f.answer, ms});
        }
        if (isKeyingFact(f.fact)) continue;
        f.seen = q.value(2).toInt();
        f.firstTryRight = q.value(3).toInt();
        f.missedEver = f.seen > f.firstTryRight;
        if (const QVariant due = q.value(6); !due.isNull())
            f.due = QDate::fromString(due.toString(), Qt::ISODate);
        // A fact worked through comes into the day only when it is due
        // again: the known facts met among the new ones are facts known by
        // heart. The query leaves out most of a child-year's thousands of
        // one-off sums already: it keeps the keys of at most eight
        // characters, the few longer recall facts (10+10, from 10 to 20
        // take away) and those whose answer stands in the question, whose
        // times tell the keying.
        if (!recall && !(f.missedEver && f.due.isValid() && f.due <= today)) continue;
        const QVariant lastMissed = q.value(5);
        f.state =
            factState(parseFirstTries(q.value(4).toString()),
                      lastMissed.isNull() ? QDateTime() : storedTime(lastMissed), rule, endOfToday);
        f.quickAtEveryTry = f.seen > 0 && !f.missedEver;
        if (rule.timed && recall) timed.append({f.fact, std::move(times)});
        input.facts.insert(f.fact, std::move(f));
    }
    if (timed.isEmpty()) return true;
    Pace pace;
    q.prepare(QStringLiteral("SELECT base_limit_ms FROM children WHERE id = ?"));
    q.addBindValue(child);
    if (!q.exec()) return false;
    if (q.next()) pace.baseMs = baseLimitStep(q.value(0).toInt());
    pace.keyMs = keyMs(rightTries);
    for (const auto& [fact, times] : std::as_const(timed)) {
        PlanFact& f = input.facts[fact];
        f.state = fluentState(f.state, rule, f.fact, f.answer, times, pace);
        // Slow or not as fluentState tells it: no limit while the keying
        // is not known.
        const std::optional<int> limit = pace.limitFor(f.answer);
        const std::optional<qint64> usual = usualMs(times);
        if (limit && usual && *usual > *limit) f.overLimitMs = *usual - *limit;
        f.quickAtEveryTry = f.quickAtEveryTry && f.overLimitMs == 0;
    }
    return true;
}

// The procedure steps' ended sets, oldest first: their own kind's and the
// day's sets of them.
bool readPlanSets(const Connection& connection, qint64 child, PlanInput& input)
{
    QStringList choices;
    for (const QString& step : allSteps())
        if (!isRecallStep(step)) choices << step << dayChoicePrefix() + step;
    if (choices.isEmpty()) return true;
    QStringList marks(choices.size(), QStringLiteral("?"));
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT choice, ended_at, problem_count, first_right FROM sets "
                             "WHERE child_id = ? AND program = ? AND ended_at IS NOT NULL "
                             "AND choice IN (%1) ORDER BY ended_at, id")
                  .arg(marks.join(u", ")));
    q.addBindValue(child);
    q.addBindValue(QStringLiteral("numira"));
    for (const QString& choice : std::as_const(choices)) q.addBindValue(choice);
    if (!q.exec()) return false;
    while (q.next())
        input.sets.append({procedureStepOf(q.value(0).toString()), localDay(q.value(1)),
                           q.value(2).toInt(), q.value(3).toInt()});
    return true;
}

// The child's usual time per problem in its latest sets, all kinds.
bool readUsualMsPerProblem(const Connection& connection, qint64 child, std::optional<qint64>& usual)
{
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT started_at, last_answered_at, first_tries FROM sets "
                             "WHERE child_id = ? AND ended_at IS NOT NULL AND first_tries > 0 "
                             "AND last_answered_at IS NOT NULL ORDER BY started_at DESC LIMIT ?"));
    q.addBindValue(child);
    q.addBindValue(kPaceSets);
    if (!q.exec()) return false;
    QList<qint64> perProblem;
    while (q.next()) {
        const qint64 ms = storedTime(q.value(0)).msecsTo(storedTime(q.value(1)));
        if (ms > 0) perProblem.append(ms / q.value(2).toInt());
    }
    usual = usualMs(perProblem);
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
    if (!readPlanFacts(connection, child, today, input) || !readPlanSets(connection, child, input))
        return std::nullopt;
    input.problems = plan->dayProblems;
    if (input.problems == kAboutTenMinutes) {
        std::optional<qint64> usual;
        if (!readUsualMsPerProblem(connection, child, usual)) return std::nullopt;
        input.problems = problemsForTenMinutes(usual);
    }
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
