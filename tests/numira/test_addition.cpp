// SPDX-License-Identifier: GPL-3.0-or-later
// Addition sets: for every type and many seeds, the set size, the acceptance
// rule, distinct ordered pairs, exact sums recomputed here, text widths.
#include "numira/core/addition.h"
#include "tests/numira/generator_checks.h"
#include "tests/support/doubles.h"

#include <QSet>
#include <QTest>

using namespace numira;
using namespace numira::generator_checks;

namespace {

qint64 hundredths(const QString& text) { return scaledLoose(text, 2); }

bool noCarryAt(qint64 a, qint64 b, qint64 place)
{
    return (a / place) % 10 + (b / place) % 10 <= 9;
}

} // namespace

class TestAddition : public QObject {
    Q_OBJECT
private slots:
    void everyType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("scale"); // 1 whole, 10 tenths, 100 hundredths
        for (int t = 0; t <= 8; ++t)
            QTest::addRow("type %d", t) << t
                                        << (t == 0   ? 45
                                            : t == 1 ? 36
                                                     : 100)
                                        << (t == 7   ? 10
                                            : t == 8 ? 100
                                                     : 1);
    }
    void everyType()
    {
        QFETCH(int, type);
        QFETCH(int, size);
        QFETCH(int, scale);
        for (int seed = 1; seed <= 40; ++seed) {
            test_support::SeededRandomSource random(seed * 7919 + type);
            UsedPairs used;
            ProblemStore store;
            generateAddition(type, store, used, random);
            QCOMPARE(store.count, size);
            QCOMPARE(store.countText().text(), QString::number(size));
            QSet<QString> questions;
            for (int k = 1; k <= size; ++k) {
                const QString q = store.question(k);
                const QStringList ops = q.split(u'+');
                QCOMPARE(ops.size(), 2);
                // Operands in the type's own units.
                const qint64 a = hundredths(ops[0]) * scale / 100;
                const qint64 b = hundredths(ops[1]) * scale / 100;
                QCOMPARE(hundredths(store.answer(k)), hundredths(ops[0]) + hundredths(ops[1]));
                QVERIFY2(!questions.contains(q), qPrintable(q));
                questions.insert(q);
                QVERIFY(store.slot[k].question.size() <= 9);
                QVERIFY(store.slot[k].answer.size() <= 5);
                QVERIFY(!q.contains(u' '));
                bool ok = false;
                switch (type) {
                case 0: ok = a >= 1 && b >= 1 && a <= 9 && b <= 9 && a + b <= 10; break;
                case 1: ok = a >= 1 && b >= 1 && a <= 9 && b <= 9 && a + b >= 11; break;
                case 2: ok = a >= 1 && b >= 1 && a <= 19 && b <= 19 && a + b <= 20; break;
                case 3: ok = a + b <= 100 && noCarryAt(a, b, 1); break;
                case 4: ok = a + b <= 100; break;
                case 5: ok = a + b <= 1000 && noCarryAt(a, b, 1) && noCarryAt(a, b, 10); break;
                case 6: ok = a + b <= 1000; break;
                case 7: ok = a <= 99 && b <= 99; break;
                case 8: ok = a <= 999 && b <= 999; break;
                }
                QVERIFY2(ok, qPrintable(q));
            }
        }
    }

    void enumeratedTypesHoldEveryPairOnce()
    {
        // Types 0 and 1 together are the 81 one-digit pairs, each once. Both
        // are shuffled: sets made from two different draws differ in order.
        QSet<QString> all;
        for (int type : {0, 1}) {
            QStringList orders[2];
            for (int draw : {0, 1}) {
                test_support::SeededRandomSource random(5 + draw);
                UsedPairs used;
                ProblemStore store;
                generateAddition(type, store, used, random);
                for (int k = 1; k <= store.count; ++k) orders[draw] << store.question(k);
            }
            QVERIFY2(orders[0] != orders[1], qPrintable(QString::number(type)));
            for (const QString& q : orders[0]) all.insert(q);
        }
        QCOMPARE(all.size(), 81);
        QVERIFY(all.contains("1+9"));
        QVERIFY(all.contains("9+9"));
    }

    void enumeratedOrderBeforeShuffle()
    {
        // With every swap scripted onto slot 1 itself, the set stays in
        // enumeration order: 1+1 first for type 0, 2+9 first for type 1.
        for (auto [type, first, last] :
             {std::tuple{0, "1+1", "9+1"}, std::tuple{1, "2+9", "9+9"}}) {
            test_support::ScriptedRandomSource random;
            for (int k = 0; k < 2 * 45; ++k) random.push(0);
            UsedPairs used;
            ProblemStore store;
            generateAddition(type, store, used, random);
            QCOMPARE(store.question(1), QString::fromLatin1(first));
            QCOMPARE(store.question(store.count), QString::fromLatin1(last));
        }
    }

    void drawOrderAndExamples_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QList<int>>("draws");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("answer");
        // Type 2 adds 1 to each draw 0..18.
        QTest::newRow("type 2") << 2 << QList<int>{2, 4} << "3+5"
                                << "8";
        // Rejected by the carry test first (15+27), then accepted.
        QTest::newRow("type 3 carry refused") << 3 << QList<int>{15, 27, 10, 90} << "10+90"
                                              << "100";
        QTest::newRow("type 3 zeros") << 3 << QList<int>{0, 0} << "0+0"
                                      << "0";
        QTest::newRow("type 3 ones sum 9") << 3 << QList<int>{36, 23} << "36+23"
                                           << "59";
        QTest::newRow("type 5 ones sum 9") << 5 << QList<int>{36, 23} << "36+23"
                                           << "59";
        QTest::newRow("type 5 tens carry refused")
            << 5 << QList<int>{145, 270, 500, 500} << "500+500"
            << "1000";
        QTest::newRow("type 6 sum above 1000 refused")
            << 6 << QList<int>{999, 2, 1000, 0} << "1000+0"
            << "1000";
        QTest::newRow("type 7") << 7 << QList<int>{30, 5} << "3+0.5"
                                << "3.5";
        QTest::newRow("type 7 whole sum") << 7 << QList<int>{47, 53} << "4.7+5.3"
                                          << "10";
        QTest::newRow("type 7 top") << 7 << QList<int>{99, 99} << "9.9+9.9"
                                    << "19.8";
        QTest::newRow("type 8") << 8 << QList<int>{105, 250} << "1.05+2.5"
                                << "3.55";
        QTest::newRow("type 8 tenth") << 8 << QList<int>{5, 5} << "0.05+0.05"
                                      << "0.1";
        QTest::newRow("type 8 whole") << 8 << QList<int>{150, 250} << "1.5+2.5"
                                      << "4";
    }
    void drawOrderAndExamples()
    {
        QFETCH(int, type);
        QFETCH(QList<int>, draws);
        QFETCH(QString, question);
        QFETCH(QString, answer);
        // A repeat of the first pair must be refused for slot 2.
        GENERATOR_CHECK(checkFirstExample(generateAddition, type, draws, 2, question, answer));
    }

    void olderSlotsSurvive()
    {
        test_support::SeededRandomSource random(3);
        UsedPairs used;
        ProblemStore store;
        generateAddition(4, store, used, random);
        const QString slot50 = store.question(50);
        generateAddition(1, store, used, random);
        QCOMPARE(store.count, 36);
        QCOMPARE(store.question(50), slot50);
    }
};

QTEST_GUILESS_MAIN(TestAddition)
#include "test_addition.moc"
