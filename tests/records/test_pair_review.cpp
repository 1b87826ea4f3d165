// SPDX-License-Identifier: GPL-3.0-or-later
// Bairo's missed pairs come back among known ones, read from a real file.
#include "records/reads/pair_review.h"
#include "records/store/records_store.h"

#include <QTemporaryDir>
#include <QTest>

using namespace common::records;

namespace {

const QDate kToday = QDate::currentDate();

// First tries at a fact, oldest first, one a day up to `lastDaysAgo`: R right,
// W wrong and then right.
void firstTries(RecordsStore& store, qint64 child, const QString& fact, const QString& right,
                const QString& tries, int lastDaysAgo)
{
    const bool pair = fact.startsWith(u"lcm") || fact.startsWith(u"gcd");
    const common::SetRecord set{pair ? u"bairo"_qs : u"numira"_qs, u"lcm:easy"_qs, 10, {}};
    for (qsizetype i = 0; i < tries.size(); ++i) {
        qint64 setId = 0;
        const QDateTime when(kToday.addDays(-lastDaysAgo - (tries.size() - 1 - i)), QTime(10, 0));
        const QStringList typed = tries[i] == u'W' ? QStringList{"1", right} : QStringList{right};
        for (int t = 0; t < typed.size(); ++t)
            QVERIFY(store.recordAnswer(child, set, setId,
                                       {1,
                                        fact,
                                        right,
                                        typed[t],
                                        t + 1,
                                        typed[t] == right,
                                        false,
                                        {},
                                        4000,
                                        when.addSecs(t).toUTC()}));
    }
}

} // namespace

class TestPairReview : public QObject {
    Q_OBJECT
private slots:
    void pairsComeBack_data()
    {
        QTest::addColumn<int>("daysLater");
        QTest::addColumn<int>("mostDue");
        QTest::addColumn<QStringList>("due");
        QTest::newRow("nothing due yet") << -3 << 20 << QStringList{};
        QTest::newRow("most overdue first, of both kinds")
            << 0 << 20 << QStringList{"gcd:12,18", "lcm:4,6"};
        QTest::newRow("at most one") << 0 << 1 << QStringList{"gcd:12,18"};
        QTest::newRow("a day later") << 1 << 20 << QStringList{"gcd:12,18", "lcm:4,6", "lcm:9,6"};
    }
    void pairsComeBack()
    {
        QFETCH(int, daysLater);
        QFETCH(int, mostDue);
        QFETCH(QStringList, due);
        QTemporaryDir dir;
        RecordsStore store;
        QCOMPARE(store.open(dir.filePath("r.sqlite")), Opening::kOpened);
        qint64 child = 0;
        QVERIFY(!store.addChild(u"はなこ"_qs, &child));
        // Known: three rights in a row. Not known: two. Numira's never come.
        const QStringList known{"lcm:6,8", "gcd:6,9", "lcm:2,3"};
        firstTries(store, child, "lcm:6,8", "24", "RRR", 0);
        firstTries(store, child, "gcd:6,9", "3", "WRRR", 0);
        firstTries(store, child, "lcm:2,3", "6", "RRR", 2);
        firstTries(store, child, "gcd:4,8", "4", "RR", 0);
        firstTries(store, child, "mul:2x3", "6", "RRR", 0);
        firstTries(store, child, "mul:7x8", "56", "W", 3);
        firstTries(store, child, "gcd:12,18", "6", "W", 2);
        firstTries(store, child, "lcm:4,6", "12", "RW", 1);
        firstTries(store, child, "lcm:9,6", "18", "W", 0);

        const QDate today = kToday.addDays(daysLater);
        const QList<ReviewProblem> set =
            readPairReviewSet(store.connection(), child, today, 7, mostDue);
        QStringList gotDue, facts;
        int knownAfter = 0;
        for (const ReviewProblem& p : set) {
            QVERIFY2(!facts.contains(p.fact), qPrintable(p.fact));
            facts << p.fact;
            QCOMPARE(p.fact, p.fact.left(4) + p.question);
            if (p.fact == u"gcd:12,18") QCOMPARE(p.answer, u"6"_qs);
            if (p.due) {
                gotDue << p.fact;
                knownAfter = 0;
            } else {
                QVERIFY2(known.contains(p.fact), qPrintable(p.fact));
                QVERIFY(++knownAfter <= 3 && !gotDue.isEmpty());
            }
        }
        QCOMPARE(gotDue, due);
        QCOMPARE(set.size() - due.size(), std::min(known.size(), 3 * due.size()));
        QCOMPARE(readPairReviewSet(store.connection(), child, today, 7, mostDue), set);
    }
};

QTEST_GUILESS_MAIN(TestPairReview)
#include "test_pair_review.moc"
