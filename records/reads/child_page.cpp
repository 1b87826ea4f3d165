// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/reads/child_page.h"

#include "common/drill_rules.h"
#include "records/database/connection.h"
#include "records/tables/fact_rows.h"

#include <QSet>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <vector>

namespace common::records {

namespace {

constexpr int kPageDays = 56;
constexpr int kMissedDays = 14;
constexpr int kMostMissed = 10;

// The fact rows of a child whose keys lie in [from, to), every key when
// `from` is empty.
QHash<QString, FactStanding> readFacts(const Connection& connection, qint64 child,
                                       const MasteryRule& rule, const Pace& pace,
                                       const QDateTime& now, const QString& from = {},
                                       const QString& to = {})
{
    QHash<QString, FactStanding> facts;
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    // The keys' range is compared byte by byte, as the file sorts them.
    q.prepare(connection.dialect().query(
        from.isEmpty()
            ? QStringLiteral("SELECT fact, seen, first_try_right, latest, last_missed, box, "
                             "due, right_answer, right_times FROM facts WHERE child_id = ?")
            : QStringLiteral("SELECT fact, seen, first_try_right, latest, last_missed, box, "
                             "due, right_answer, right_times FROM facts WHERE child_id = ? "
                             "AND fact COLLATE BINARY >= ? AND fact COLLATE BINARY < ?")));
    q.addBindValue(child);
    if (!from.isEmpty()) {
        q.addBindValue(from);
        q.addBindValue(to);
    }
    if (!q.exec()) return facts;
    while (q.next()) {
        FactStanding f;
        f.fact = q.value(0).toString();
        // The warm-up's numbers tell the keying and are no facts.
        if (isKeyingFact(f.fact)) continue;
        f.seen = q.value(1).toInt();
        f.firstTryRight = q.value(2).toInt();
        const QVariant lastMissed = q.value(4);
        f.state = factState(parseFirstTries(q.value(3).toString()),
                            lastMissed.isNull()
                                ? QDateTime()
                                : QDateTime::fromString(lastMissed.toString(), Qt::ISODateWithMs),
                            rule, now);
        f.box = q.value(5).toInt();
        f.due = QDate::fromString(q.value(6).toString(), Qt::ISODate);
        if (isRecallFact(f.fact)) {
            const QString answer = q.value(7).toString();
            const QList<qint64> times = parseRightTimes(q.value(8).toString());
            f.usualMs = usualMs(times);
            f.limitMs = pace.limitFor(answer);
            f.state = fluentState(f.state, rule, f.fact, answer, times, pace);
        }
        facts.insert(f.fact, f);
    }
    return facts;
}

qint64 median(std::vector<qint64>& values)
{
    if (values.empty()) return 0;
    const auto middle = values.begin() + values.size() / 2;
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2) return *middle;
    // An even count: the mean of the two middle values.
    return (*middle + *std::max_element(values.begin(), middle)) / 2;
}

// The kinds practised and Bairo's hints, from the sets' own counts; the
// median time from the first tries' answers, and so only from the answers
// still kept where the file keeps fewer months (the counts stay whole).
void readKinds(const Connection& connection, qint64 child, ChildPage& page)
{
    const QSqlDatabase db = connection.database();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral(
        "SELECT program, choice, count(*), sum(first_tries), sum(first_right), "
        "max(last_answered_at), sum(smaller_multiple_hints), sum(larger_divisor_hints) "
        "FROM sets WHERE child_id = ? AND choice <> 'keying' "
        "GROUP BY program, choice ORDER BY program, choice"));
    q.addBindValue(child);
    if (!q.exec()) return;
    QHash<QString, qsizetype> kindAt;
    while (q.next()) {
        KindSummary k;
        k.program = q.value(0).toString();
        k.choice = q.value(1).toString();
        k.sets = q.value(2).toInt();
        k.problems = q.value(3).toInt();
        k.firstTryPercent = firstTryPercent(q.value(4).toInt(), k.problems);
        k.lastPractised = QDateTime::fromString(q.value(5).toString(), Qt::ISODateWithMs);
        kindAt.insert(k.program + u'\n' + k.choice, page.kinds.size());
        page.kinds.append(k);
        if (k.program == u"bairo")
            page.bairo.append(
                {k.choice, k.problems, k.firstTryPercent, q.value(6).toInt(), q.value(7).toInt()});
    }
    // The first tries' times come a set at a time, as one text each: far
    // fewer rows to go through than one for every answer.
    std::vector<std::vector<qint64>> times(page.kinds.size());
    q.prepare(connection.dialect().query(QStringLiteral(
        "SELECT s.program, s.choice, group_concat(CAST(a.elapsed_ms AS TEXT), ' '), "
        "group_concat(CASE WHEN substr(a.fact, 1, 4) IN ('add:', 'sub:', 'mul:', 'div:') "
        "THEN a.fact END, ' ') "
        "FROM sets s JOIN answers a ON a.set_id = s.id "
        "WHERE s.child_id = ? AND a.attempt = 1 "
        "GROUP BY s.started_at, s.id")));
    // The recall facts each kind met, in the same pass.
    std::vector<QSet<QString>> met(page.kinds.size());
    q.addBindValue(child);
    if (!q.exec()) return;
    while (q.next()) {
        const qsizetype kind =
            kindAt.value(q.value(0).toString() + u'\n' + q.value(1).toString(), -1);
        if (kind < 0) continue;
        qint64 value = 0;
        bool inNumber = false;
        for (const QChar c : q.value(2).toString()) {
            if (c.isDigit()) {
                value = value * 10 + c.digitValue();
                inNumber = true;
            } else if (inNumber) {
                times[kind].push_back(value);
                value = 0;
                inNumber = false;
            }
        }
        if (inNumber) times[kind].push_back(value);
        const QString facts = q.value(3).toString();
        for (const QStringView fact : QStringView(facts).split(u' ', Qt::SkipEmptyParts))
            met[kind].insert(fact.toString());
    }
    for (qsizetype i = 0; i < page.kinds.size(); ++i) {
        KindSummary& k = page.kinds[i];
        k.medianMs = median(times[i]);
        // Against their standing on the page.
        for (const QString& fact : std::as_const(met[i])) {
            if (!isRecallFact(fact)) continue;
            ++k.recallFacts;
            if (page.facts.value(fact).state == FactState::kMastered) ++k.fluentFacts;
        }
    }
}

// The last days one by one, and the facts most missed in the latest of them.
void readRecentDays(const Connection& connection, qint64 child, const QDateTime& now,
                    ChildPage& page)
{
    const QSqlDatabase db = connection.database();
    const QDate today = now.toLocalTime().date();
    const QDate first = today.addDays(1 - kPageDays);
    // Where each local day starts, as stored text: an answer's day is found
    // by comparing its time with these, not by converting every time.
    QStringList starts;
    for (int d = 0; d <= kPageDays; ++d)
        starts << utcText(QDateTime(first.addDays(d), QTime(0, 0)));
    std::vector<int> problems(kPageDays), right(kPageDays);

    struct Missed {
        MissedFact fact;
        QString lastMissed;
    };
    QHash<QString, Missed> missed;
    QHash<QString, QStringList> wrong; // newest first, as the rows come
    const int firstMissedDay = kPageDays - kMissedDays;

    QSqlQuery q(db);
    q.setForwardOnly(true);
    // The fact and what was typed only where the most missed are looked for.
    q.prepare(QStringLiteral("SELECT a.answered_at, a.attempt, a.correct, a.answer_shown, "
                             "CASE WHEN a.answered_at >= ? THEN a.fact END, "
                             "CASE WHEN a.answered_at >= ? AND a.correct = 0 THEN a.typed END "
                             "FROM sets s JOIN answers a ON a.set_id = s.id "
                             "WHERE s.child_id = ? AND s.choice <> 'keying' "
                             "AND s.last_answered_at >= ? "
                             "AND a.answered_at >= ? AND a.answered_at < ? "
                             "ORDER BY a.answered_at DESC, a.id DESC"));
    q.addBindValue(starts[firstMissedDay]);
    q.addBindValue(starts[firstMissedDay]);
    q.addBindValue(child);
    q.addBindValue(starts.first());
    q.addBindValue(starts.first());
    q.addBindValue(starts.last());
    if (!q.exec()) return;
    while (q.next()) {
        const QString at = q.value(0).toString();
        const int day =
            int(std::upper_bound(starts.begin(), starts.end(), at) - starts.begin()) - 1;
        if (day < 0 || day >= kPageDays) continue;
        const bool firstTry = q.value(1).toInt() == 1;
        const bool correct = q.value(2).toBool();
        const bool rightFirst = correct && !q.value(3).toBool();
        if (firstTry) {
            ++problems[day];
            if (rightFirst) ++right[day];
        }
        if (day < firstMissedDay) continue;
        const QString fact = q.value(4).toString();
        if (!correct) wrong[fact] << q.value(5).toString();
        if (firstTry && !rightFirst) {
            Missed& m = missed[fact];
            if (m.fact.misses++ == 0) {
                m.fact.fact = fact;
                m.lastMissed = at;
            }
        }
    }
    for (int d = 0; d < kPageDays; ++d)
        page.days.append({first.addDays(d), problems[d], firstTryPercent(right[d], problems[d])});

    QList<Missed> most = missed.values();
    std::sort(most.begin(), most.end(), [](const Missed& a, const Missed& b) {
        if (a.fact.misses != b.fact.misses) return a.fact.misses > b.fact.misses;
        if (a.lastMissed != b.lastMissed) return a.lastMissed > b.lastMissed;
        return a.fact.fact < b.fact.fact;
    });
    for (const Missed& m : most.first(std::min<qsizetype>(most.size(), kMostMissed))) {
        page.mostMissed.append(m.fact);
        page.mostMissed.last().typedWrong = wrong.value(m.fact.fact);
    }
}

// A times-table key: "mul:AxB", A 1..9, B 0..9.
bool isTableFact(const QString& fact)
{
    return fact.size() == 7 && fact.at(4) >= u'1' && fact.at(4) <= u'9' && fact.at(5) == u'x' &&
           fact.at(6) >= u'0' && fact.at(6) <= u'9';
}

} // namespace

int fluentPercent(int fluent, int recall) { return recall > 0 ? fluent * 100 / recall : 0; }

ChildPage readChildPage(const Connection& connection, qint64 child, const QDateTime& now)
{
    const QSqlDatabase db = connection.database();
    ChildPage page;
    page.rule = readRule(db);
    page.pace = readPace(connection, child);
    page.facts = readFacts(connection, child, page.rule, page.pace, now.toUTC());
    readKinds(connection, child, page);
    readRecentDays(connection, child, now, page);
    return page;
}

QHash<QString, FactStanding> readTableFacts(const Connection& connection, qint64 child,
                                            const QDateTime& now)
{
    const QSqlDatabase db = connection.database();
    // "mul:1x0" to "mul:9x9" sort between these two keys; longer products
    // ("mul:12x3") among them are left out one by one.
    QHash<QString, FactStanding> facts =
        readFacts(connection, child, readRule(db), readPace(connection, child), now.toUTC(),
                  QStringLiteral("mul:1"), QStringLiteral("mul::"));
    facts.removeIf([](const auto& f) { return !isTableFact(f.key()); });
    return facts;
}

} // namespace common::records
