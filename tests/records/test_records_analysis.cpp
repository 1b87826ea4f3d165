// SPDX-License-Identifier: GPL-3.0-or-later
// What the records window and the review make of the answers, against real
// files in a time zone ahead of UTC (a local day is not a UTC day): a fact's
// standing and review box, the child page of a small history, the review set,
// and an older file brought up to date.
#include "records/drill/records_writer.h"
#include "records/reads/answers_csv.h"
#include "records/reads/child_page.h"
#include "records/reads/class_page.h"
#include "records/reads/review.h"
#include "records/store/records_store.h"
#include "records/tables/fact_rows.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>

using namespace common::records;

namespace {

const QDate kToday(2024, 6, 15);
QDateTime at(int daysAgo, int hour = 10, int minute = 0)
{
    return QDateTime(kToday.addDays(-daysAgo), QTime(hour, minute));
}
const QDateTime kNow = at(0, 20);

// One problem: each typed text one try, seconds apart, right when it is the
// right answer; `shown`: typed with the answer on show.
void problem(RecordsStore& store, qint64 child, qint64& setId, const QString& choice,
             const QString& fact, const QString& right, const QStringList& typed,
             const QDateTime& when, qint64 elapsedMs = 1000, bool shown = false,
             const QString& hint = {})
{
    const common::SetRecord set{fact.startsWith(u"lcm") || fact.startsWith(u"gcd")
                                    ? QStringLiteral("bairo")
                                    : QStringLiteral("numira"),
                                choice,
                                10,
                                {}};
    for (int i = 0; i < typed.size(); ++i) {
        const bool correct = typed[i] == right;
        const common::AnswerRecord a{1,         fact,
                                     right,     typed[i],
                                     i + 1,     correct,
                                     shown,     correct ? QString() : hint,
                                     elapsedMs, when.addSecs(i).toUTC()};
        QVERIFY(store.recordAnswer(child, set, setId, a));
    }
}

// First tries at one fact, newest first: R right, W wrong (then right at the
// second try), S right with the answer shown. The newest is `daysAgo`, the
// oldest `spread` - 1 days before it.
void firstTries(RecordsStore& store, qint64 child, const QString& fact, const QString& tries,
                int daysAgo, int spread = 1, int hour = 10)
{
    for (qsizetype j = tries.size() - 1; j >= 0; --j) {
        qint64 setId = 0;
        const QDateTime when =
            at(daysAgo + int(j * spread / tries.size()), hour, int(tries.size() - j));
        const QString right = QStringLiteral("56");
        problem(store, child, setId, QStringLiteral("table:7"), fact, right,
                tries[j] == u'W' ? QStringList{"0", right} : QStringList{right}, when, 1000,
                tries[j] == u'S');
    }
}

QStringList rows(const QString& connection, const QString& sql)
{
    QStringList all;
    QSqlQuery q(QSqlDatabase::database(connection, false));
    q.exec(sql);
    while (q.next()) {
        QStringList row;
        for (int i = 0; i < q.record().count(); ++i) row << q.value(i).toString();
        all << row.join(u'|');
    }
    return all;
}

} // namespace

class TestRecordsAnalysis : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    RecordsStore m_store;
    qint64 m_child = 0;
    int m_files = 0;
    QString file() const { return m_dir.filePath(QStringLiteral("r%1.sqlite").arg(m_files)); }

private slots:
    void initTestCase()
    {
        qputenv("TZ", "Asia/Tokyo");
        tzset();
    }
    void init()
    {
        ++m_files;
        QCOMPARE(m_store.open(file()), Opening::kOpened);
        QVERIFY(!m_store.addChild(QStringLiteral("たろう"), &m_child));
    }

    // Fast and right, against a file: the keying told by ×1 answers or the
    // warm-up, the limit it gives, each answer carrying it, and 7×8 right
    // ten times over three days at `factMs` each, under the file's rule.
    void fastAndRight_data()
    {
        QTest::addColumn<QString>("keying"); // the fact typed to tell the keying, or none
        QTest::addColumn<int>("keyingMs");
        QTest::addColumn<int>("factMs");
        QTest::addColumn<bool>("timed");
        QTest::addColumn<FactState>("state");
        QTest::addColumn<int>("limit"); // -1: none, the keying not known
        QTest::newRow("a fast child")
            << "mul:7x1" << 600 << 1500 << true << FactState::kMastered << 3900;
        QTest::newRow("a slow accurate child: ゆっくり")
            << "mul:7x1" << 600 << 6000 << true << FactState::kSlow << 3900;
        QTest::newRow("a slow typist: the limit rises")
            << "mul:7x1" << 2000 << 5000 << true << FactState::kMastered << 6000;
        QTest::newRow("the warm-up tells the keying")
            << "key:56" << 1500 << 5000 << true << FactState::kSlow << 4500;
        QTest::newRow("the keying not known yet")
            << "" << 0 << 6000 << true << FactState::kMastered << -1;
        QTest::newRow("an older file's accuracy rule, until adopted")
            << "mul:7x1" << 600 << 6000 << false << FactState::kMastered << 3900;
    }
    void fastAndRight()
    {
        QFETCH(QString, keying);
        QFETCH(int, keyingMs);
        QFETCH(int, factMs);
        QFETCH(bool, timed);
        QFETCH(FactState, state);
        QFETCH(int, limit);
        QVERIFY(QSqlQuery(QSqlDatabase::database(m_store.connectionName()))
                    .exec(timed ? "UPDATE rules SET timed = 1" : "UPDATE rules SET timed = 0"));
        qint64 setId = 0;
        const bool warmUp = keying.startsWith(u"key:");
        for (int i = 0; !keying.isEmpty() && i < 4; ++i)
            problem(m_store, m_child, setId, warmUp ? u"keying"_qs : u"table:7"_qs, keying,
                    keying.endsWith(u"x1") ? u"7"_qs : u"56"_qs,
                    {keying.endsWith(u"x1") ? "7" : "56"}, at(12, 9, i), keyingMs);
        for (int i = 0; i < 10; ++i) {
            setId = 0;
            problem(m_store, m_child, setId, u"table:7"_qs, u"mul:7x8"_qs, u"56"_qs, {"56"},
                    at(10 - i / 4, 10, i), factMs);
        }
        QCOMPARE(rows(m_store.connectionName(),
                      "SELECT coalesce(limit_ms, -1) FROM answers ORDER BY id DESC LIMIT 1"),
                 QStringList{QString::number(timed ? limit : -1)});
        ChildPage page = readChildPage(m_store.connection(), m_child, kNow);
        QCOMPARE(page.facts.value("mul:7x8").state, state);
        QCOMPARE(page.facts.value("mul:7x8").usualMs.value_or(-1), factMs);
        QCOMPARE(page.facts.value("mul:7x8").limitMs.value_or(-1), limit);
        // The warm-up's numbers are no facts and its set no kind; the kind
        // and the class page count the recall facts met and those fluent
        // (7×1, four times right, is not mastered yet).
        QVERIFY(!page.facts.contains("key:56"));
        QCOMPARE(page.kinds.size(), 1);
        const int met = keying == u"mul:7x1" ? 2 : 1, fluent = state == FactState::kMastered;
        QCOMPARE(page.kinds.first().recallFacts, met);
        QCOMPARE(page.kinds.first().fluentFacts, fluent);
        const ClassRow row = readClassPage(m_store.connection()).rows.first();
        QCOMPARE(row.recallFacts, met);
        QCOMPARE(row.fluentFacts, fluent);
        // The CSV gives the limit in force at each answer.
        QVERIFY(answersCsv(m_store.connection(), m_child)
                    .trimmed()
                    .endsWith(',' + (timed && limit >= 0 ? QByteArray::number(limit) : "")));
        // A slow fact comes back in the review, ahead of the known ones.
        const QList<ReviewProblem> review = readReviewSet(m_store.connection(), m_child, kToday, 1);
        QCOMPARE(!review.isEmpty() && review.first().fact == u"mul:7x8", state == FactState::kSlow);
        if (timed) return;
        // Adopted: the same answers read under the speed rule, none rewritten.
        QVERIFY(m_store.adoptSpeedRule());
        page = readChildPage(m_store.connection(), m_child, kNow);
        QCOMPARE(page.facts.value("mul:7x8").state, FactState::kSlow);
        QCOMPARE(rows(m_store.connectionName(), "SELECT count(limit_ms) FROM answers"),
                 QStringList{"0"});
    }

    // The drill's side asks whether the keying is known, and records the
    // warm-up's answers, which tell it.
    void warmUpTellsTheKeying()
    {
        RecordsWriter writer(file());
        writer.open([](const OpenedRecords&) {});
        writer.chooseChild(m_child);
        QCOMPARE(writer.keyingKnown(), std::optional(false));
        writer.setStarted({u"numira"_qs, QString::fromUtf16(kKeyingChoice), 3, {}});
        for (int i = 1; i <= 3; ++i)
            writer.answered({i,
                             keyFact(56),
                             u"56"_qs,
                             u"56"_qs,
                             1,
                             true,
                             false,
                             {},
                             1500,
                             QDateTime::currentDateTimeUtc()});
        QCOMPARE(writer.keyingKnown(), std::optional(true));
        QCOMPARE(readPace(m_store.connection(), m_child).keyMs, std::optional(500));
    }

    void mastery_data()
    {
        QTest::addColumn<QString>("tries");
        QTest::addColumn<int>("spread");
        QTest::addColumn<int>("daysAgo");
        QTest::addColumn<int>("rightNeeded"); // the rule as the file holds it
        QTest::addColumn<FactState>("state");
        const auto row = [](const char* name, const char* tries, int spread, int daysAgo,
                            FactState state, int rightNeeded = 9) {
            QTest::newRow(name) << tries << spread << daysAgo << rightNeeded << state;
        };
        row("9 of 10 over 3 days", "RRRRRRRRRW", 3, 10, FactState::kMastered);
        row("9 of 10 over 2 days", "RRRRRRRRRW", 2, 10, FactState::kLearning);
        row("8 of 10", "RRRRRRRRWW", 3, 10, FactState::kLearning);
        row("9 first tries", "RRRRRRRRR", 3, 10, FactState::kLearning);
        row("only the last 10 count", "RRRRRRRRRWWW", 3, 10, FactState::kMastered);
        row("a recent miss, not the latest", "RWRRRRRRRR", 3, 0, FactState::kMastered);
        row("a recent miss, the latest", "WRRRRRRRRR", 3, 0, FactState::kRecentlyMissed);
        row("a miss 6 days ago", "W", 1, 6, FactState::kRecentlyMissed);
        row("a miss 8 days ago", "W", 1, 8, FactState::kLearning);
        row("answers shown are misses", "RRRRRRRRSS", 3, 10, FactState::kLearning);
        row("an answer shown today", "S", 1, 0, FactState::kRecentlyMissed);
        row("the file's rule: 10 of 10", "RRRRRRRRRW", 3, 10, FactState::kLearning, 10);
    }
    void mastery()
    {
        QFETCH(QString, tries);
        QFETCH(int, spread);
        QFETCH(int, daysAgo);
        QFETCH(int, rightNeeded);
        QFETCH(FactState, state);
        QSqlQuery q(QSqlDatabase::database(m_store.connectionName()));
        q.prepare("UPDATE rules SET right_needed = ?");
        q.addBindValue(rightNeeded);
        QVERIFY(q.exec());
        firstTries(m_store, m_child, "mul:7x8", tries, daysAgo, spread);
        const FactStanding f = readTableFacts(m_store.connection(), m_child, kNow).value("mul:7x8");
        QCOMPARE(f.state, state);
        QCOMPARE(f.seen, tries.size());
        QCOMPARE(f.firstTryRight, tries.count(u'R'));
    }

    void boxes_data()
    {
        QTest::addColumn<QString>("tries"); // one a day up to today
        QTest::addColumn<int>("box");
        QTest::addColumn<int>("dueInDays");
        QTest::newRow("a miss, right at the retry") << "W" << 1 << 1;
        QTest::newRow("right when first seen") << "R" << 2 << 2;
        QTest::newRow("rights move up") << "RRW" << 3 << 4;
        QTest::newRow("up to the top box") << "RRRRRR" << 5 << 16;
        QTest::newRow("a miss sends back") << "WRRR" << 1 << 1;
        QTest::newRow("the answer shown") << "SR" << 1 << 1;
    }
    void boxes()
    {
        QFETCH(QString, tries);
        QFETCH(int, box);
        QFETCH(int, dueInDays);
        firstTries(m_store, m_child, "mul:7x8", tries, 0, int(tries.size()));
        const FactStanding f = readTableFacts(m_store.connection(), m_child, kNow).value("mul:7x8");
        QCOMPARE(f.box, box);
        QCOMPARE(f.due, kToday.addDays(dueInDays));
    }

    void childPage_data()
    {
        // A history: today's set at half past midnight (the day before in
        // UTC), an empty day 4, a miss 20 days ago, a set 60 days ago.
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("expected");
        QTest::newRow("kinds") << "kinds"
                               << "bairo gcd:easy 1 1 0 1000 2|bairo lcm:easy 1 2 50 1000 2|"
                                  "numira add:3 1 2 50 5000 3|numira table:7 4 6 50 3500 0";
        QTest::newRow("days") << "days"
                              << "0:2:50 1:2:50 2:3:33 3:2:50 4:0:0 20:1:0 55:0:0";
        QTest::newRow("most missed") << "missed"
                                     << "mul:7x8 2 54,48,63|gcd:12,18 1 3|lcm:6,8 1 48|add:19+5 1 ";
        QTest::newRow("bairo hints") << "bairo"
                                     << "gcd:easy 1 0 0 1|lcm:easy 2 50 1 0";
    }
    void childPage()
    {
        QFETCH(QString, what);
        QFETCH(QString, expected);
        qint64 s = 0;
        const QString table = "table:7";
        problem(m_store, m_child, s, table, "mul:7x8", "56", {"54", "56"}, at(0, 0, 30), 1000);
        problem(m_store, m_child, s, table, "mul:7x9", "63", {"63"}, at(0, 0, 31), 3000);
        problem(m_store, m_child, s = 0, table, "mul:7x8", "56", {"63", "48", "56"}, at(1), 2000);
        problem(m_store, m_child, s, table, "mul:7x6", "42", {"42"}, at(1, 11), 4000);
        problem(m_store, m_child, s = 0, "lcm:easy", "lcm:6,8", "24", {"48", "24"}, at(2), 1000,
                false, "smaller-multiple");
        problem(m_store, m_child, s, "lcm:easy", "lcm:4,6", "12", {"12"}, at(2, 11));
        problem(m_store, m_child, s = 0, "gcd:easy", "gcd:12,18", "6", {"3", "6"}, at(2, 12), 1000,
                false, "larger-divisor");
        problem(m_store, m_child, s = 0, "add:3", "add:38+47", "85", {"85"}, at(3), 2000);
        problem(m_store, m_child, s, "add:3", "add:19+5", "24", {"24"}, at(3, 11), 8000, true);
        problem(m_store, m_child, s = 0, table, "mul:7x8", "56", {"55", "56"}, at(20), 5000);
        problem(m_store, m_child, s = 0, table, "mul:7x2", "14", {"14"}, at(60), 6000);
        const ChildPage page = readChildPage(m_store.connection(), m_child, kNow);
        QStringList got;
        const auto n = [](qint64 v) { return QString::number(v); };
        if (what == "kinds") {
            for (const KindSummary& k : page.kinds)
                got << QStringList{k.program,
                                   k.choice,
                                   n(k.sets),
                                   n(k.problems),
                                   n(k.firstTryPercent),
                                   n(k.medianMs),
                                   n(k.lastPractised.toLocalTime().date().daysTo(kToday))}
                           .join(u' ');
        } else if (what == "days") {
            QCOMPARE(page.days.size(), 56);
            for (const DaySummary& d : page.days)
                if (d.problems || QList{4, 55}.contains(d.day.daysTo(kToday)))
                    got.prepend(
                        QStringList{n(d.day.daysTo(kToday)), n(d.problems), n(d.firstTryPercent)}
                            .join(u':'));
            got = {got.join(u' ')};
        } else if (what == "missed") {
            for (const MissedFact& m : page.mostMissed)
                got << m.fact + u' ' + n(m.misses) + u' ' + m.typedWrong.join(u',');
        } else {
            for (const HintSummary& h : page.bairo)
                got << QStringList{h.choice, n(h.problems), n(h.firstTryPercent),
                                   n(h.smallerMultipleHints), n(h.largerDivisorHints)}
                           .join(u' ');
        }
        QCOMPARE(got.join(u'|'), expected);
    }

    void review_data()
    {
        QTest::addColumn<int>("daysLater");
        QTest::addColumn<int>("mostDue");
        QTest::addColumn<QStringList>("due");
        QTest::newRow("nothing due yet") << -3 << 20 << QStringList{};
        QTest::newRow("most overdue first") << 0 << 20 << QStringList{"div:17/5", "add:9+9"};
        QTest::newRow("at most one") << 0 << 1 << QStringList{"div:17/5"};
        QTest::newRow("a day later")
            << 1 << 20 << QStringList{"div:17/5", "add:9+9", "sub:8.1-2.5"};
    }
    void review()
    {
        QFETCH(int, daysLater);
        QFETCH(int, mostDue);
        QFETCH(QStringList, due);
        // Known: three rights in a row, or mastered with a miss among its
        // last ten. Not known: two rights, or Bairo's.
        const QStringList known{"add:1+1", "mul:2x3", "mul:2x4", "mul:2x5", "mul:6x6"};
        for (const QString& fact : known.first(4)) firstTries(m_store, m_child, fact, "RRR", 0, 3);
        firstTries(m_store, m_child, "mul:6x6", "RRWRRRRRRR", 0, 3);
        firstTries(m_store, m_child, "mul:9x9", "RR", 0, 3);
        firstTries(m_store, m_child, "lcm:6,8", "RRR", 0, 3);
        firstTries(m_store, m_child, "lcm:4,6", "W", 5);
        firstTries(m_store, m_child, "add:9+9", "W", 1);
        firstTries(m_store, m_child, "sub:8.1-2.5", "W", 0);
        qint64 s = 0;
        problem(m_store, m_child, s, "div:5", "div:17/5", "3...2", {"3...1", "3...2"}, at(3));

        const QDate today = kToday.addDays(daysLater);
        const QList<ReviewProblem> set =
            readReviewSet(m_store.connection(), m_child, today, 7, mostDue);
        QStringList gotDue, facts;
        int knownAfter = 0;
        for (const ReviewProblem& p : set) {
            QVERIFY2(!facts.contains(p.fact), qPrintable(p.fact));
            facts << p.fact;
            if (p.due) {
                gotDue << p.fact;
                knownAfter = 0;
            } else {
                QVERIFY2(known.contains(p.fact), qPrintable(p.fact));
                QVERIFY(++knownAfter <= 3 && !gotDue.isEmpty());
            }
            if (p.fact == "div:17/5") QCOMPARE(p.question + u'=' + p.answer, u"17÷5=3...2");
            if (p.fact == "sub:8.1-2.5") QCOMPARE(p.question, "8.1-2.5");
        }
        QCOMPARE(gotDue, due);
        QCOMPARE(set.size() - due.size(), std::min(known.size(), 3 * due.size()));
        const auto texts = [](const QList<ReviewProblem>& list) {
            QStringList all;
            for (const ReviewProblem& p : list) all << p.fact + p.question + p.answer;
            return all;
        };
        QCOMPARE(texts(readReviewSet(m_store.connection(), m_child, today, 7, mostDue)),
                 texts(set));
        // Another seed, another draw (the five seeds below all draw another).
        if (!due.isEmpty()) {
            QSet<QStringList> orders;
            for (quint32 seed = 1; seed <= 5; ++seed) {
                orders.insert(texts(readReviewSet(m_store.connection(), m_child, today, seed, 1)));
            }
            QVERIFY(orders.size() > 1);
        }
    }

    void olderFileBroughtUpToDate_data()
    {
        QTest::addColumn<QString>("tries");
        QTest::addColumn<int>("hour");
        QTest::newRow("misses, retries, answers shown") << "RRWSRWRR" << 10;
        QTest::newRow("more first tries than kept") << "WRRRRRRRRRRRWRR" << 10;
        QTest::newRow("half past midnight") << "RWRWR" << 0;
    }
    void olderFileBroughtUpToDate()
    {
        QFETCH(QString, tries);
        QFETCH(int, hour);
        qint64 other = 0;
        QVERIFY(!m_store.addChild(QStringLiteral("はなこ"), &other));
        QString mirrored = tries;
        mirrored.replace(u'R', u'x').replace(u'W', u'R').replace(u'x', u'W');
        firstTries(m_store, m_child, "mul:7x8", tries, 2, 9, hour);
        firstTries(m_store, other, "mul:7x8", mirrored, 0, 4, hour);
        firstTries(m_store, other, "div:17/5", tries.left(3), 1, 2, hour);
        qint64 s = 0;
        problem(m_store, other, s, "lcm:easy", "lcm:6,8", "24", {"48", "72", "24"}, at(0, hour),
                1000, false, "smaller-multiple");
        problem(m_store, other, s, "lcm:easy", "gcd:4,6", "2", {"1", "2"}, at(0, hour, 30), 1000,
                false, "larger-divisor");
        const QString facts = "SELECT * FROM facts ORDER BY child_id, fact";
        const QString sets = "SELECT * FROM sets ORDER BY id";
        const QStringList written = rows(m_store.connectionName(), facts);
        const QStringList setsWritten = rows(m_store.connectionName(), sets);
        m_store.close();

        // The file as the first version of the records left it.
        const QString older = file() + QStringLiteral(".older");
        QVERIFY(QFile::copy(file(), older));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "older");
            db.setDatabaseName(older);
            QVERIFY(db.open());
            for (const char* sql : {"DROP TABLE steps_passed",
                                    "DROP TABLE paths",
                                    "ALTER TABLE children DROP placing",
                                    "ALTER TABLE children DROP day_problems",
                                    "ALTER TABLE children DROP grade",
                                    "ALTER TABLE facts DROP right_times",
                                    "ALTER TABLE answers DROP limit_ms",
                                    "ALTER TABLE children DROP base_limit_ms",
                                    "DROP TABLE outbox",
                                    "DROP INDEX sets_by_uid",
                                    "DROP INDEX answers_by_uid",
                                    "ALTER TABLE sets DROP uid",
                                    "ALTER TABLE answers DROP uid",
                                    "DROP INDEX children_by_login",
                                    "ALTER TABLE children DROP login",
                                    "DROP INDEX facts_missed_by_due",
                                    "ALTER TABLE facts DROP latest",
                                    "ALTER TABLE facts DROP last_missed",
                                    "ALTER TABLE facts DROP box",
                                    "ALTER TABLE facts DROP due",
                                    "ALTER TABLE facts DROP right_answer",
                                    "ALTER TABLE sets DROP first_tries",
                                    "ALTER TABLE sets DROP first_right",
                                    "ALTER TABLE sets DROP smaller_multiple_hints",
                                    "ALTER TABLE sets DROP larger_divisor_hints",
                                    "ALTER TABLE sets DROP last_answered_at",
                                    "DROP TABLE keeping"})
                QVERIFY(QSqlQuery(db).exec(sql));
            QVERIFY(QSqlQuery(db).exec("DROP TABLE rules"));
            QVERIFY(QSqlQuery(db).exec("PRAGMA user_version = 1"));
            db.close();
        }
        QSqlDatabase::removeDatabase("older");
        RecordsStore store;
        QCOMPARE(store.open(older), Opening::kOpened);
        QCOMPARE(rows(store.connectionName(), facts), written);
        QCOMPARE(rows(store.connectionName(), sets), setsWritten);
        // Its facts' right times filled from its answers as the drills write
        // them; its rule the accuracy rule alone, until an adult adopts the
        // speed rule.
        QCOMPARE(readChildPage(store.connection(), m_child, kNow).rule,
                 (MasteryRule{10, 9, 3, 7, false}));
    }
};

QTEST_GUILESS_MAIN(TestRecordsAnalysis)
#include "test_records_analysis.moc"
