// SPDX-License-Identifier: GPL-3.0-or-later
// Multiplication sets: for every type and many seeds, the ranges and carry
// rules, operands written with their fixed places, exact products recomputed
// here, distinct pairs, text widths and the judging of every answer; the order
// and ranges of the draws, worked examples, the contract; the multiplication
// table for several row choices; and the dispatch of every category.
#include "numira/core/generators.h"
#include "numira/core/judge.h"
#include "numira/core/multiplication.h"
#include "tests/numira/generator_checks.h"
#include "tests/support/doubles.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <limits>

using namespace numira;
using namespace numira::generator_checks;

namespace {

// A factor as written: whole part without leading zeros, then exactly
// `places` digits after the point. Gives the value in 10^-places units, or
// -1 when the text is not in that form.
qint64 factor(const QString& text, int places)
{
    static const QRegularExpression form(QStringLiteral(R"(^(0|[1-9]\d*)(?:\.(\d+))?$)"));
    const auto m = form.match(text);
    if (!m.hasMatch() || m.captured(2).size() != places) return -1;
    return (m.captured(1) + m.captured(2)).toLongLong();
}

// The places a factor is written with.
int placesOf(const QString& text)
{
    const qsizetype point = text.indexOf(u'.');
    return point < 0 ? 0 : int(text.size() - point - 1);
}

qint64 answerValue(const QString& text, int places) { return scaledCanonical(text, places); }

} // namespace

class TestMultiplication : public QObject {
    Q_OBJECT
private slots:
    void everyType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("placesA"); // -1: either order of 2 and 1 places
        QTest::addColumn<int>("placesB");
        QTest::addColumn<int>("aMin");
        QTest::addColumn<int>("aMax");
        QTest::addColumn<int>("bMin");
        QTest::addColumn<int>("bMax");
        QTest::newRow("type 0") << 0 << 0 << 0 << 0 << 99 << 1 << 9;
        QTest::newRow("type 1") << 1 << 0 << 0 << 0 << 99 << 0 << 9;
        QTest::newRow("type 2") << 2 << 0 << 0 << 1 << 9 << 1 << 99;
        QTest::newRow("type 3") << 3 << 0 << 0 << 1 << 9 << 1 << 99;
        QTest::newRow("type 4") << 4 << 0 << 0 << 0 << 99 << 0 << 99;
        QTest::newRow("type 5") << 5 << 1 << 0 << 1 << 99 << 1 << 9;
        QTest::newRow("type 6") << 6 << 2 << 0 << 1 << 999 << 10 << 98;
        QTest::newRow("type 7") << 7 << 0 << 2 << 10 << 98 << 1 << 999;
        QTest::newRow("type 8") << 8 << 1 << 1 << 1 << 99 << 1 << 99;
        QTest::newRow("type 9") << 9 << -1 << -1 << 1 << 999 << 1 << 999;
    }
    void everyType()
    {
        QFETCH(int, type);
        QFETCH(int, placesA);
        QFETCH(int, placesB);
        QFETCH(int, aMin);
        QFETCH(int, aMax);
        QFETCH(int, bMin);
        QFETCH(int, bMax);
        int hundredthsFirst = 0, tenthsFirst = 0;
        for (int seed = 1; seed <= 60; ++seed) {
            test_support::SeededRandomSource random(seed * 7907 + type);
            UsedPairs used;
            ProblemStore store;
            generateMultiplication(type, store, used, random);
            QCOMPARE(store.count, 100);
            QCOMPARE(store.countText().text(), QStringLiteral("100"));
            QCOMPARE(random.reseeds, 1); // never shuffled
            QSet<std::pair<qint64, qint64>> seen;
            for (int k = 1; k <= 100; ++k) {
                const QString q = store.question(k);
                const QString answer = store.answer(k);
                const QStringList parts = q.split(u'x');
                QCOMPARE(parts.size(), 2);
                int pa = placesA, pb = placesB;
                if (type == 9) {
                    pa = placesOf(parts[0]);
                    pb = placesOf(parts[1]);
                    QVERIFY2((pa == 2 && pb == 1) || (pa == 1 && pb == 2), qPrintable(q));
                    ++(pa == 2 ? hundredthsFirst : tenthsFirst);
                }
                const qint64 a = factor(parts[0], pa);
                const qint64 b = factor(parts[1], pb);
                const qint64 maxA = type == 9 ? (pa == 2 ? 999 : 99) : aMax;
                const qint64 maxB = type == 9 ? (pb == 2 ? 999 : 99) : bMax;
                QVERIFY2(a >= aMin && a <= maxA && b >= bMin && b <= maxB, qPrintable(q));
                QCOMPARE(answerValue(answer, pa + pb), a * b);
                // Order-blind for type 9: only the two integers count.
                QVERIFY2(!seen.contains({a, b}), qPrintable(q));
                seen.insert({a, b});
                GENERATOR_CHECK(checkWidths(store, k, 8));
                QVERIFY2(judgedRightAndWrong(answer, hasRemainder(kMultiplication, type)),
                         qPrintable(answer));
                bool ok = true;
                switch (type) {
                case 0: ok = (a % 10) * b <= 9; break;
                case 2: ok = a * (b % 10) <= 9; break;
                case 6: ok = a % 10 != 0; break;
                case 7: ok = b % 10 != 0; break;
                case 8:
                case 9: ok = a % 10 != 0 && b % 10 != 0; break;
                }
                QVERIFY2(ok, qPrintable(q));
            }
        }
        if (type == 9) QVERIFY(hundredthsFirst > 0 && tenthsFirst > 0);
    }

    void drawOrderAndRanges_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("rangeA");
        QTest::addColumn<int>("offsetA");
        QTest::addColumn<int>("rangeB");
        QTest::addColumn<int>("offsetB");
        QTest::newRow("type 0") << 0 << 100 << 0 << 9 << 1;
        QTest::newRow("type 1") << 1 << 100 << 0 << 10 << 0;
        QTest::newRow("type 2") << 2 << 9 << 1 << 99 << 1;
        QTest::newRow("type 3") << 3 << 9 << 1 << 99 << 1;
        QTest::newRow("type 4") << 4 << 100 << 0 << 100 << 0;
        QTest::newRow("type 5") << 5 << 99 << 1 << 9 << 1;
        QTest::newRow("type 6") << 6 << 999 << 1 << 89 << 10;
        QTest::newRow("type 7") << 7 << 89 << 10 << 999 << 1;
        QTest::newRow("type 8") << 8 << 99 << 1 << 99 << 1;
        // Type 9: the order first, then hundredths and tenths or the reverse.
        QTest::newRow("type 9") << 9 << 0 << 1 << 0 << 1;
    }
    void drawOrderAndRanges()
    {
        QFETCH(int, type);
        QFETCH(int, rangeA);
        QFETCH(int, offsetA);
        QFETCH(int, rangeB);
        QFETCH(int, offsetB);
        for (int seed = 1; seed <= 5; ++seed) {
            RecordingRandomSource random(seed);
            UsedPairs used;
            ProblemStore store;
            generateMultiplication(type, store, used, random);
            const auto& draws = random.draws;
            QCOMPARE(draws.front().first, 0);
            const int perAttempt = type == 9 ? 3 : 2;
            QCOMPARE((draws.size() - 1) % perAttempt, 0);
            for (qsizetype i = 1; i < draws.size(); i += perAttempt) {
                int a = rangeA, b = rangeB;
                if (type == 9) {
                    QCOMPARE(draws[i].first, 2);
                    a = draws[i].second == 0 ? 999 : 99;
                    b = draws[i].second == 0 ? 99 : 999;
                }
                QCOMPARE(draws[i + perAttempt - 2].first, a);
                QCOMPARE(draws[i + perAttempt - 1].first, b);
            }
            // Kept in the order drawn: the last attempt is slot 100, and its
            // pair is the last entry of the family's table.
            const qint32 a = draws[draws.size() - 2].second + offsetA;
            const qint32 b = draws.back().second + offsetB;
            QVERIFY(used.contains(a, b, 100) && !used.contains(a, b, 99));
            const QStringList parts = store.question(100).split(u'x');
            QCOMPARE(QString(parts[0]).remove(u'.').toInt(), a);
            QCOMPARE(QString(parts[1]).remove(u'.').toInt(), b);
        }
    }

    void examples_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QList<int>>("draws");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("answer");
        // Draws as the random source gives them (before any offset).
        QTest::newRow("0: 0x7") << 0 << QList<int>{0, 6} << "0x7"
                                << "0";
        QTest::newRow("0: 5x1") << 0 << QList<int>{5, 0} << "5x1"
                                << "5";
        QTest::newRow("0: 90x9") << 0 << QList<int>{90, 8} << "90x9"
                                 << "810";
        QTest::newRow("0: 33x3") << 0 << QList<int>{33, 2} << "33x3"
                                 << "99";
        QTest::newRow("0: 13x4 refused") << 0 << QList<int>{13, 3, 12, 3} << "12x4"
                                         << "48";
        QTest::newRow("1: 37x0") << 1 << QList<int>{37, 0} << "37x0"
                                 << "0";
        QTest::newRow("2: 4x13 refused") << 2 << QList<int>{3, 12, 2, 12} << "3x13"
                                         << "39";
        QTest::newRow("2: 3x33") << 2 << QList<int>{2, 32} << "3x33"
                                 << "99";
        QTest::newRow("3: 9x99") << 3 << QList<int>{8, 98} << "9x99"
                                 << "891";
        QTest::newRow("4: 0x0") << 4 << QList<int>{0, 0} << "0x0"
                                << "0";
        QTest::newRow("4: 99x99") << 4 << QList<int>{99, 99} << "99x99"
                                  << "9801";
        QTest::newRow("5: 2.0x4") << 5 << QList<int>{19, 3} << "2.0x4"
                                  << "8";
        QTest::newRow("5: 0.5x3") << 5 << QList<int>{4, 2} << "0.5x3"
                                  << "1.5";
        QTest::newRow("5: 0.5x4") << 5 << QList<int>{4, 3} << "0.5x4"
                                  << "2";
        QTest::newRow("6: 0.25x40") << 6 << QList<int>{24, 30} << "0.25x40"
                                    << "10";
        QTest::newRow("6: 0.05x10") << 6 << QList<int>{4, 0} << "0.05x10"
                                    << "0.5";
        QTest::newRow("6: 1.01x11") << 6 << QList<int>{100, 1} << "1.01x11"
                                    << "11.11";
        QTest::newRow("6: 0.10 refused") << 6 << QList<int>{9, 5, 24, 30} << "0.25x40"
                                         << "10";
        QTest::newRow("7: 10x0.01") << 7 << QList<int>{0, 0} << "10x0.01"
                                    << "0.1";
        QTest::newRow("7: 98x9.99") << 7 << QList<int>{88, 998} << "98x9.99"
                                    << "979.02";
        QTest::newRow("7: 0.10 refused") << 7 << QList<int>{0, 9, 0, 0} << "10x0.01"
                                         << "0.1";
        QTest::newRow("8: 0.5x0.2") << 8 << QList<int>{4, 1} << "0.5x0.2"
                                    << "0.1";
        QTest::newRow("8: 0.1x0.1") << 8 << QList<int>{0, 0} << "0.1x0.1"
                                    << "0.01";
        QTest::newRow("8: 1.0 refused") << 8 << QList<int>{0, 9, 0, 0} << "0.1x0.1"
                                        << "0.01";
        QTest::newRow("9: 1.25x0.8") << 9 << QList<int>{0, 124, 7} << "1.25x0.8"
                                     << "1";
        QTest::newRow("9: 0.01x0.1") << 9 << QList<int>{0, 0, 0} << "0.01x0.1"
                                     << "0.001";
        QTest::newRow("9: 0.75x0.4") << 9 << QList<int>{0, 74, 3} << "0.75x0.4"
                                     << "0.3";
        QTest::newRow("9: 2.5x3.14") << 9 << QList<int>{1, 24, 313} << "2.5x3.14"
                                     << "7.85";
        QTest::newRow("9: 9.99x9.9") << 9 << QList<int>{0, 998, 98} << "9.99x9.9"
                                     << "98.901";
    }
    void examples()
    {
        QFETCH(int, type);
        QFETCH(QList<int>, draws);
        QFETCH(QString, question);
        QFETCH(QString, answer);
        // The accepted attempt once more: refused as a repeat for slot 2.
        GENERATOR_CHECK(checkFirstExample(generateMultiplication, type, draws, type == 9 ? 3 : 2,
                                          question, answer));
    }

    void typeNineRepeatsIgnoreTheOrder()
    {
        // 0.25x3.1 keeps 2.5x0.31 (the same two integers) out of the set;
        // 2.5x0.32 is new.
        test_support::ScriptedRandomSource random{0, 24, 30, 1, 24, 30, 1, 24, 31};
        UsedPairs used;
        ProblemStore store;
        generateMultiplication(9, store, used, random);
        QCOMPARE(store.question(1), QStringLiteral("0.25x3.1"));
        QCOMPARE(store.question(2), QStringLiteral("2.5x0.32"));
        QCOMPARE(store.answer(2), QStringLiteral("0.8"));
    }

    void contract_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("reseeds");
        QTest::newRow("-1") << -1 << false;
        QTest::newRow("minimum") << std::numeric_limits<int>::min() << false;
        QTest::newRow("10") << 10 << true;
        QTest::newRow("maximum") << std::numeric_limits<int>::max() << true;
    }
    void contract()
    {
        QFETCH(int, number);
        QFETCH(bool, reseeds);
        GENERATOR_CHECK(checkContract(generateMultiplication, 11, 4, number, reseeds));
    }

    void table_data()
    {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<int>("lowest");
        QTest::addColumn<int>("size");
        QTest::newRow("row 1") << QList<int>{1} << 1 << 9;
        QTest::newRow("row 5 with 0") << QList<int>{5} << 0 << 10;
        QTest::newRow("rows 2 and 7") << QList<int>{2, 7} << 1 << 18;
        QTest::newRow("rows 3, 8, 9 with 0") << QList<int>{3, 8, 9} << 0 << 30;
        QTest::newRow("all rows") << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9} << 1 << 81;
        QTest::newRow("all rows with 0") << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9} << 0 << 90;
    }
    void table()
    {
        QFETCH(QList<int>, rows);
        QFETCH(int, lowest);
        QFETCH(int, size);
        TableRowSelection selection;
        for (int r : rows) selection.rows[r - 1] = true;
        selection.lowestMultiplier = lowest;
        QSet<QString> expected;
        for (int r : rows)
            for (int m = lowest; m <= 9; ++m) expected.insert(QString("%1x%2").arg(r).arg(m));
        QCOMPARE(expected.size(), size);

        for (int seed = 1; seed <= 10; ++seed) {
            test_support::SeededRandomSource random(seed);
            ProblemStore store;
            generateMultiplicationTable(selection, store, random);
            QCOMPARE(random.reseeds, 1); // by the shuffle
            QCOMPARE(store.question(0), u"九九"_qs);
            QCOMPARE(store.count, size);
            QCOMPARE(store.countText().text(), QString::number(size));
            QSet<QString> got;
            for (int k = 1; k <= size; ++k) {
                const QString q = store.question(k);
                got.insert(q);
                const QStringList f = q.split(u'x');
                QCOMPARE(f.size(), 2);
                QCOMPARE(store.answer(k), QString::number(f[0].toInt() * f[1].toInt()));
                QVERIFY(store.slot[k].question.size() <= 3 && store.slot[k].answer.size() <= 2);
                QVERIFY(judgedRightAndWrong(store.answer(k), false));
            }
            QCOMPARE(got, expected);
        }

        // With every swap scripted onto slot 1 itself the made order shows:
        // row by row, each row with rising multipliers.
        test_support::ScriptedRandomSource zeros;
        for (int k = 0; k < 2 * size; ++k) zeros.push(0);
        ProblemStore store;
        generateMultiplicationTable(selection, store, zeros);
        QCOMPARE(zeros.draws, 2 * size);
        int k = 0;
        for (int r : rows)
            for (int m = lowest; m <= 9; ++m)
                QCOMPARE(store.question(++k), QString("%1x%2").arg(r).arg(m));
    }

    void tableLowestMultiplierStaysInSlots()
    {
        // Only 0 and 1 come from the choice window; a value below 0 is
        // taken as 0, so nine rows never pass the last slot.
        TableRowSelection selection;
        selection.rows.fill(true);
        selection.lowestMultiplier = -5;
        test_support::SeededRandomSource random(1);
        ProblemStore store;
        generateMultiplicationTable(selection, store, random);
        QCOMPARE(store.count, 90);
    }

    void dispatch_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("sign");
        QTest::newRow("addition 1") << 0 << 1 << 36 << "+";
        QTest::newRow("subtraction 1") << 1 << 1 << 45 << "-";
        QTest::newRow("multiplication 9") << 2 << 9 << 100 << "x";
        QTest::newRow("division 0") << 3 << 0 << 81 << u"÷"_qs;
        QTest::newRow("division 10") << 3 << 10 << 90 << u"÷"_qs;
        QTest::newRow("table rows 2 and 3") << 4 << 0 << 18 << "x";
    }
    void dispatch()
    {
        QFETCH(int, category);
        QFETCH(int, number);
        QFETCH(int, size);
        QFETCH(QString, sign);
        test_support::SeededRandomSource random(3);
        ProblemGenerators generators(random);
        const Choice choice{category, number, {{false, true, true}, 1}}; // table rows 2 and 3
        ProblemStore store;
        QVERIFY(generators.generate(choice, store));
        QCOMPARE(store.count, size);
        for (int k = 1; k <= size; ++k)
            QVERIFY2(store.question(k).contains(sign), qPrintable(store.question(k)));
    }

    void tableWithoutRowsIsNotGenerated()
    {
        test_support::ScriptedRandomSource random;
        ProblemGenerators generators(random);
        ProblemStore store;
        Choice choice{kSubtraction, 0, {}};
        QVERIFY(generators.generate(choice, store));
        const ProblemStore before = store;
        const int reseeds = random.reseeds;
        choice.category = kMultiplicationTable;
        choice.tableRows.lowestMultiplier = 0;
        QVERIFY(!generators.generate(choice, store));
        QCOMPARE(random.reseeds, reseeds);
        GENERATOR_CHECK(checkStoreUnchanged(store, before));
    }
};

QTEST_GUILESS_MAIN(TestMultiplication)
#include "test_multiplication.moc"
