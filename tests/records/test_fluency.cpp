// SPDX-License-Identifier: GPL-3.0-or-later
// Fast and right: which facts are timed, the child's keying told from its
// answers, the limit it gives, and a fact's usual time against it.
#include "records/model/fluency.h"

#include <QTest>

using namespace common::records;

namespace {

// `count` right first tries at `fact`, each `ms` long give or take a little.
QList<TimedAnswer> answers(const QString& fact, const QString& answer, int count, qint64 ms)
{
    QList<TimedAnswer> list;
    for (int i = 0; i < count; ++i) list.append({fact, answer, ms + (i % 3) * 150});
    return list;
}

} // namespace

class TestFluency : public QObject {
    Q_OBJECT
private slots:
    void recallFacts_data()
    {
        QTest::addColumn<QString>("fact");
        QTest::addColumn<bool>("recall");
        QTest::addColumn<bool>("answerInQuestion");
        QTest::newRow("times table") << "mul:7x8" << true << false;
        QTest::newRow("times one") << "mul:1x7" << true << true;
        QTest::newRow("two digits times one") << "mul:12x3" << false << false;
        QTest::newRow("division of the table") << "div:56/8" << true << false;
        QTest::newRow("by one") << "div:7/1" << true << true;
        QTest::newRow("a remainder") << "div:17/5" << false << false;
        QTest::newRow("quotient beyond the table") << "div:90/9" << false << false;
        QTest::newRow("sum within 20") << "add:8+7" << true << false;
        QTest::newRow("plus zero") << "add:0+9" << true << true;
        QTest::newRow("sum beyond 20") << "add:15+7" << false << false;
        QTest::newRow("subtraction within 20") << "sub:15-8" << true << false;
        QTest::newRow("decimals") << "sub:5.4-2.3" << false << false;
        QTest::newRow("bairo") << "lcm:4,6" << false << false;
        QTest::newRow("warm-up") << "key:56" << false << true;
    }
    void recallFacts()
    {
        QFETCH(QString, fact);
        QFETCH(bool, recall);
        QFETCH(bool, answerInQuestion);
        QCOMPARE(isRecallFact(fact), recall);
        QCOMPARE(common::records::answerInQuestion(fact), answerInQuestion);
    }

    // The keying per key from generated answers, and the limit it gives a
    // two-digit answer at the default base.
    void keying_data()
    {
        QTest::addColumn<QList<TimedAnswer>>("tries");
        QTest::addColumn<int>("keyMs"); // -1: not told yet
        QTest::addColumn<int>("limitFor56");
        const auto recall = answers("mul:7x8", "56", 30, 2400);
        QTest::newRow("quick typist, by ×1")
            << answers("mul:7x1", "7", 6, 600) + recall << 300 << 3900;
        QTest::newRow("slow typist, by ×1: the limit rises")
            << answers("mul:1x4", "4", 6, 2000) + recall << 1000 << 6000;
        QTest::newRow("by the warm-up") << answers("key:56", "56", 3, 1500) << 500 << 4500;
        QTest::newRow("from the quickest recalled answers") << recall << 800 << 5400;
        QTest::newRow("too few to tell")
            << answers("mul:7x1", "7", 2, 600) + recall.first(10) << -1 << -1;
        QTest::newRow("procedures tell nothing") << answers("mul:12x3", "36", 40, 3000) << -1 << -1;
    }
    void keying()
    {
        QFETCH(QList<TimedAnswer>, tries);
        QFETCH(int, keyMs);
        QFETCH(int, limitFor56);
        const std::optional<int> key = common::records::keyMs(tries);
        QCOMPARE(key.value_or(-1), keyMs);
        if (key) QCOMPARE(limitMs(kDefaultBaseLimitMs, *key, u"56"_qs), limitFor56);
    }

    void usualTime_data()
    {
        QTest::addColumn<QList<qint64>>("times");
        QTest::addColumn<qint64>("usual"); // -1: none
        QTest::addColumn<bool>("slowAt4200");
        QTest::newRow("quick") << QList<qint64>{1200, 1500, 900, 1400, 1300} << qint64(1300)
                               << false;
        QTest::newRow("at the limit")
            << QList<qint64>{4200, 3900, 5000, 4500, 4000} << qint64(4200) << false;
        QTest::newRow("counting on fingers")
            << QList<qint64>{12000, 11000, 9000, 13000, 4000} << qint64(11000) << true;
        QTest::newRow("one slow slip")
            << QList<qint64>{1200, 9000, 1300, 1100, 1250} << qint64(1250) << false;
        QTest::newRow("an even count: the lower middle")
            << QList<qint64>{5000, 4000, 3000, 6000} << qint64(4000) << false;
        QTest::newRow("no timed try") << QList<qint64>{} << qint64(-1) << false;
    }
    void usualTime()
    {
        QFETCH(QList<qint64>, times);
        QFETCH(qint64, usual);
        QFETCH(bool, slowAt4200);
        QCOMPARE(usualMs(times).value_or(-1), usual);
        QCOMPARE(isSlow(times, 4200), slowAt4200);
    }

    // The row keeps the five newest, newest first, through a write and a read.
    void rightTimesKept()
    {
        QString kept;
        for (const qint64 ms : {100, 200, 300, 400, 500, 600, 700}) kept = withRightTime(kept, ms);
        QCOMPARE(kept, u"700 600 500 400 300"_qs);
        QCOMPARE(parseRightTimes(kept), (QList<qint64>{700, 600, 500, 400, 300}));
        QCOMPARE(parseRightTimes(withRightTime({}, 1820)), QList<qint64>{1820});
    }
};

QTEST_GUILESS_MAIN(TestFluency)
#include "test_fluency.moc"
