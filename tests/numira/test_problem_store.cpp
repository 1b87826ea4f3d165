// SPDX-License-Identifier: GPL-3.0-or-later
// The problem store and its helpers: decimal texts, the slot shuffle, the
// duplicate table and the generator contract; the catalogue texts and its
// remainder kinds.
#include "numira/core/addition.h"
#include "numira/core/catalogue.h"
#include "numira/core/problem_store.h"
#include "tests/support/doubles.h"

#include <QTest>

#include <algorithm>

using namespace numira;

class TestProblemStore : public QObject {
    Q_OBJECT
private slots:
    void decimalText_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("text");
        QTest::newRow("tenths 30") << qint64(30) << 1 << "3";
        QTest::newRow("tenths 5") << qint64(5) << 1 << "0.5";
        QTest::newRow("tenths 0") << qint64(0) << 1 << "0";
        QTest::newRow("hundredths 105") << qint64(105) << 2 << "1.05";
        QTest::newRow("hundredths 150") << qint64(150) << 2 << "1.5";
        QTest::newRow("hundredths 200") << qint64(200) << 2 << "2";
        QTest::newRow("hundredths 7") << qint64(7) << 2 << "0.07";
        QTest::newRow("hundredths 1000") << qint64(1000) << 2 << "10";
        QTest::newRow("hundredths 1010") << qint64(1010) << 2 << "10.1";
        QTest::newRow("thousandths 1") << qint64(1) << 3 << "0.001";
        QTest::newRow("thousandths 10010") << qint64(10010) << 3 << "10.01";
        QTest::newRow("whole") << qint64(1000) << 0 << "1000";
    }
    void decimalText()
    {
        QFETCH(qint64, value);
        QFETCH(int, digits);
        QFETCH(QString, text);
        QCOMPARE(numira::decimalText(value, digits), text);
    }

    void shuffleKeepsHeaderAndMultiset_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("1") << 1;
        QTest::newRow("2") << 2;
        QTest::newRow("45") << 45;
        QTest::newRow("100") << 100;
    }
    void shuffleKeepsHeaderAndMultiset()
    {
        QFETCH(int, count);
        test_support::SeededRandomSource random(count);
        ProblemStore store;
        store.count = count;
        store.slot[0].question = u"九九"_qs;
        store.countText() = QString::number(count);
        QStringList before;
        for (int k = 1; k <= 100; ++k) {
            store.setSlot(k, QString::number(k) + "+0", QString::number(k));
            if (k <= count) before << store.question(k);
        }
        shuffleSlots(store, random);
        QCOMPARE(random.reseeds, 1);
        QCOMPARE(store.question(0), u"九九"_qs);
        QCOMPARE(store.countText().text(), QString::number(count));
        QStringList after;
        for (int k = 1; k <= count; ++k) {
            after << store.question(k);
            // Question and answer move together.
            QCOMPARE(store.answer(k) + "+0", store.question(k));
        }
        for (int k = count + 1; k <= 100; ++k)
            QCOMPARE(store.question(k), QString::number(k) + "+0");
        std::sort(before.begin(), before.end());
        std::sort(after.begin(), after.end());
        QCOMPARE(after, before);
    }

    void shuffleMakesExactlyCountSwaps()
    {
        // count 3: three swaps, six draws; script them and predict the order.
        test_support::ScriptedRandomSource random{0, 1, 1, 2, 2, 2};
        ProblemStore store;
        store.count = 3;
        for (int k = 1; k <= 3; ++k) store.setSlot(k, QString::number(k), QString());
        shuffleSlots(store, random);
        QCOMPARE(random.draws, 6);
        // swap(1,2): 2 1 3; swap(2,3): 2 3 1; swap(3,3): 2 3 1
        QCOMPARE(store.question(1), "2");
        QCOMPARE(store.question(2), "3");
        QCOMPARE(store.question(3), "1");
    }

    void usedPairsAreOrdered()
    {
        UsedPairs used;
        QVERIFY(!used.contains(-1, -1, 0));
        used.store(1, 3, 4);
        QVERIFY(used.contains(3, 4, 1));
        QVERIFY(!used.contains(4, 3, 1));
        used.reset();
        QVERIFY(!used.contains(3, 4, 100));
    }

    void generatorContract()
    {
        test_support::ScriptedRandomSource random;
        UsedPairs used;
        ProblemStore store;
        generateAddition(0, store, used, random);
        const ProblemStore before = store;
        const int reseeds = random.reseeds;
        used.store(5, 1, 2);

        // A negative number: nothing at all, not even a re-seeding.
        generateAddition(-1, store, used, random);
        QCOMPARE(random.reseeds, reseeds);
        QVERIFY(used.contains(1, 2, 5));

        // Beyond the last type: re-seeded and pairs reset, the store untouched.
        generateAddition(9, store, used, random);
        QCOMPARE(random.reseeds, reseeds + 1);
        QVERIFY(!used.contains(1, 2, 100));
        QCOMPARE(store.count, before.count);
        for (int k = 0; k <= 100; ++k) {
            QCOMPARE(store.question(k), before.question(k));
            QCOMPARE(store.answer(k), before.answer(k));
        }
    }

    void catalogue_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("items");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("bytes");
        QTest::newRow("addition 1")
            << 0 << 9 << 1 << u"2:１けたどうしのくりあがりのあるたしざん"_qs << 40;
        QTest::newRow("addition 7") << 0 << 9 << 7 << u"8:○.○＋○.○のたしざん"_qs << 24;
        QTest::newRow("subtraction 1")
            << 1 << 9 << 1 << u"2:19まで－１けた くり下がりあり"_qs << 31;
        QTest::newRow("multiplication 0") << 2 << 10 << 0 << u" 1:○○Ｘ○  くりあがりなし"_qs << 27;
        QTest::newRow("multiplication 9")
            << 2 << 10 << 9 << u"10:小数２位と小数１位のかけざん"_qs << 31;
        QTest::newRow("division 2")
            << 3 << 11 << 2 << u" 3:1000まで÷○\u3000（わりきれる）"_qs << 31;
        QTest::newRow("division 9") << 3 << 11 << 9 << u"10:○.○○÷○.○（わりきれる)"_qs << 30;
        QTest::newRow("division 10")
            << 3 << 11 << 10 << u"11:九九１かいのわりざん（あまりつき）"_qs << 37;
    }
    void catalogue()
    {
        QFETCH(int, category);
        QFETCH(int, items);
        QFETCH(int, number);
        QFETCH(QString, text);
        QFETCH(int, bytes);
        const QStringList list = catalogueItems(category);
        QCOMPARE(list.size(), items);
        QCOMPARE(lastProblemType(category), items - 1);
        QCOMPARE(list.at(number), text);
        QCOMPARE(common::shiftJisWidth(list.at(number)), bytes);
        // Every title fits the title field whole.
        for (const QString& item : list) {
            TitleText title(item);
            QCOMPARE(title.text(), item);
        }
    }

    // Remainder answers belong to division types 4, 5 and 10.
    void remainderKinds()
    {
        for (int c = 0; c <= 4; ++c)
            for (int n = 0; n <= 10; ++n)
                QCOMPARE(hasRemainder(c, n), c == kDivision && (n == 4 || n == 5 || n == 10));
    }
};

QTEST_GUILESS_MAIN(TestProblemStore)
#include "test_problem_store.moc"
