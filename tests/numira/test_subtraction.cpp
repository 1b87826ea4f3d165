// SPDX-License-Identifier: GPL-3.0-or-later
// Subtraction sets: for every type and many seeds, the set size, the ranges
// and borrowing rules, distinct ordered pairs, differences recomputed here,
// text widths and the judging of every answer; the two enumerated types, the
// order and ranges of the draws, worked examples, the generator contract, and
// the in-place texts against the shared decimal rule.
#include "numira/core/judge.h"
#include "numira/core/subtraction.h"
#include "tests/numira/generator_checks.h"
#include "tests/support/doubles.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <limits>

using namespace numira;
using namespace numira::generator_checks;

namespace {

qint64 scaled(const QString& text, int places) { return scaledLoose(text, places); }

// Whole part without leading zeros, fraction (if any) without trailing zeros.
bool canonical(const QString& text)
{
    static const QRegularExpression form(QStringLiteral(R"(^(0|[1-9]\d*)(\.\d*[1-9])?$)"));
    return form.match(text).hasMatch();
}

int digitAt(qint64 v, int place) { return int(v / place % 10); }

struct Pair {
    qint64 a, b;
};

Pair operands(const ProblemStore& store, int k, int places)
{
    const QStringList parts = store.question(k).split(u'-');
    if (parts.size() != 2) return {-1, -1};
    return {scaled(parts[0], places), scaled(parts[1], places)};
}

} // namespace

class TestSubtraction : public QObject {
    Q_OBJECT
private slots:
    void everyType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("places");
        QTest::addColumn<int>("aMin");
        QTest::addColumn<int>("aMax");
        QTest::addColumn<int>("bMax");
        QTest::newRow("type 0") << 0 << 55 << 0 << 1 << 10 << 10;
        QTest::newRow("type 1") << 1 << 45 << 0 << 10 << 18 << 9;
        QTest::newRow("type 2") << 2 << 100 << 0 << 1 << 20 << 19;
        QTest::newRow("type 3") << 3 << 100 << 0 << 1 << 100 << 100;
        QTest::newRow("type 4") << 4 << 100 << 0 << 1 << 100 << 100;
        QTest::newRow("type 5") << 5 << 100 << 0 << 1 << 1000 << 1000;
        QTest::newRow("type 6") << 6 << 100 << 0 << 1 << 1000 << 1000;
        QTest::newRow("type 7") << 7 << 100 << 1 << 0 << 99 << 99;
        QTest::newRow("type 8") << 8 << 100 << 2 << 1 << 1000 << 999;
    }
    void everyType()
    {
        QFETCH(int, type);
        QFETCH(int, size);
        QFETCH(int, places);
        QFETCH(int, aMin);
        QFETCH(int, aMax);
        QFETCH(int, bMax);
        for (int seed = 1; seed <= 60; ++seed) {
            test_support::SeededRandomSource random(seed * 104729 + type);
            UsedPairs used;
            ProblemStore store;
            generateSubtraction(type, store, used, random);
            QCOMPARE(store.count, size);
            QCOMPARE(store.countText().text(), QString::number(size));
            QSet<std::pair<qint64, qint64>> seen;
            for (int k = 1; k <= size; ++k) {
                const QString q = store.question(k);
                const QString answer = store.answer(k);
                const auto [a, b] = operands(store, k, places);
                QVERIFY2(a >= aMin && a <= aMax && b >= 0 && b <= bMax, qPrintable(q));
                QVERIFY2(b <= a, qPrintable(q));
                QCOMPARE(scaled(answer, places), a - b);
                QVERIFY2(!seen.contains({a, b}), qPrintable(q));
                seen.insert({a, b});
                for (const QString& part : q.split(u'-')) QVERIFY2(canonical(part), qPrintable(q));
                QVERIFY2(canonical(answer), qPrintable(answer));
                // Within the 9 bytes these texts need.
                GENERATOR_CHECK(checkWidths(store, k, 9));
                QVERIFY2(judgedRightAndWrong(answer, hasRemainder(kSubtraction, 0)),
                         qPrintable(answer));
                bool ok = true;
                switch (type) {
                case 0: ok = b >= 1; break;
                case 1: ok = b > a % 10; break;
                case 3:
                    ok = digitAt(b, 1) <= digitAt(a, 1) && digitAt(b, 10) <= digitAt(a, 10);
                    break;
                case 5:
                    ok = digitAt(b, 1) <= digitAt(a, 1) && digitAt(b, 10) <= digitAt(a, 10) &&
                         digitAt(b, 100) <= digitAt(a, 100);
                    break;
                }
                QVERIFY2(ok, qPrintable(q));
            }
        }
    }

    void enumeratedSets_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("always");
        QTest::addColumn<QStringList>("never");
        QTest::newRow("type 0") << 0 << QStringList{"1-1", "10-10", "10-1"}
                                << QStringList{"1-0", "11-1"};
        QTest::newRow("type 1") << 1 << QStringList{"10-1", "18-9"}
                                << QStringList{"15-3", "19-9", "9-5"};
    }
    void enumeratedSets()
    {
        QFETCH(int, type);
        QFETCH(QStringList, always);
        QFETCH(QStringList, never);
        // Built here from the types' definitions: every a - b with
        // 1 <= b <= a <= 10, and every borrowing 10..18 minus one digit.
        QSet<QString> expected;
        for (int a = 1; a <= 19; ++a)
            for (int b = 0; b <= 10; ++b) {
                const bool wanted = type == 0 ? a <= 10 && b >= 1 && b <= a
                                              : a >= 10 && b <= 9 && b > a - 10 && b < a;
                if (wanted) expected.insert(QString("%1-%2").arg(a).arg(b));
            }
        QCOMPARE(expected.size(), type == 0 ? 55 : 45);
        for (int seed = 1; seed <= 10; ++seed) {
            test_support::SeededRandomSource random(seed);
            UsedPairs used;
            ProblemStore store;
            for (int k = 1; k <= 100; ++k) store.setSlot(k, "old", "old");
            generateSubtraction(type, store, used, random);
            QSet<QString> got;
            for (int k = 1; k <= store.count; ++k) got.insert(store.question(k));
            QCOMPARE(got.size(), store.count);
            QCOMPARE(got, expected);
            for (const QString& q : always) QVERIFY2(got.contains(q), qPrintable(q));
            for (const QString& q : never) QVERIFY2(!got.contains(q), qPrintable(q));
            // The slots beyond the set keep what an earlier set left.
            QCOMPARE(store.question(store.count + 1), QStringLiteral("old"));
        }
    }

    void onlyTypeZeroIsShuffled()
    {
        // Shuffle swaps all scripted onto slot 1 itself: the enumeration
        // order shows through, and only type 0 re-seeds a second time.
        test_support::ScriptedRandomSource zeros;
        for (int k = 0; k < 110; ++k) zeros.push(0);
        UsedPairs used;
        ProblemStore store;
        generateSubtraction(0, store, used, zeros);
        QCOMPARE(zeros.reseeds, 2);
        QCOMPARE(zeros.draws, 110);
        QCOMPARE(store.question(1), QStringLiteral("1-1"));
        QCOMPARE(store.question(3), QStringLiteral("2-2"));
        QCOMPARE(store.question(55), QStringLiteral("10-10"));
        for (int type = 1; type <= 8; ++type) {
            test_support::SeededRandomSource random(type);
            generateSubtraction(type, store, used, random);
            QCOMPARE(random.reseeds, 1);
        }
    }

    void drawOrderAndRanges_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("rangeA");
        QTest::addColumn<int>("offsetA");
        QTest::addColumn<int>("rangeB");
        QTest::addColumn<int>("places");
        QTest::newRow("type 1") << 1 << 19 << 1 << 10 << 0;
        QTest::newRow("type 2") << 2 << 20 << 1 << 20 << 0;
        QTest::newRow("type 3") << 3 << 100 << 1 << 101 << 0;
        QTest::newRow("type 4") << 4 << 100 << 1 << 101 << 0;
        QTest::newRow("type 5") << 5 << 1000 << 1 << 1001 << 0;
        QTest::newRow("type 6") << 6 << 1000 << 1 << 1001 << 0;
        QTest::newRow("type 7") << 7 << 100 << 0 << 100 << 1;
        QTest::newRow("type 8") << 8 << 1000 << 1 << 1000 << 2;
    }
    void drawOrderAndRanges()
    {
        QFETCH(int, type);
        QFETCH(int, rangeA);
        QFETCH(int, offsetA);
        QFETCH(int, rangeB);
        QFETCH(int, places);
        for (int seed = 1; seed <= 5; ++seed) {
            RecordingRandomSource random(seed);
            UsedPairs used;
            ProblemStore store;
            generateSubtraction(type, store, used, random);
            // One re-seeding first, then a, b, a, b, ... and nothing else.
            const auto& draws = random.draws;
            QCOMPARE(draws.front().first, 0);
            QCOMPARE(draws.size() % 2, 1);
            for (qsizetype i = 1; i < draws.size(); i += 2) {
                QCOMPARE(draws[i].first, rangeA);
                QCOMPARE(draws[i + 1].first, rangeB);
            }
            // The last attempt is the last problem: a drawn first, offset.
            const auto [a, b] = operands(store, store.count, places);
            QCOMPARE(a, qint64(draws[draws.size() - 2].second + offsetA));
            QCOMPARE(b, qint64(draws.back().second));
        }
    }

    void examples_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QList<int>>("draws");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("answer");
        // Draws as the random source gives them (before any offset).
        QTest::newRow("1: 10-1") << 1 << QList<int>{9, 1} << "10-1"
                                 << "9";
        QTest::newRow("1: no borrow refused") << 1 << QList<int>{14, 3, 17, 9} << "18-9"
                                              << "9";
        QTest::newRow("1: 19 refused") << 1 << QList<int>{18, 9, 10, 2} << "11-2"
                                       << "9";
        QTest::newRow("2: 20-19") << 2 << QList<int>{19, 19} << "20-19"
                                  << "1";
        QTest::newRow("2: 7-7") << 2 << QList<int>{6, 7} << "7-7"
                                << "0";
        QTest::newRow("2: negative refused") << 2 << QList<int>{4, 6, 4, 0} << "5-0"
                                             << "5";
        QTest::newRow("3: 52-18 refused") << 3 << QList<int>{51, 18, 99, 100} << "100-100"
                                          << "0";
        QTest::newRow("3: 100-50 refused") << 3 << QList<int>{99, 50, 99, 0} << "100-0"
                                           << "100";
        QTest::newRow("5: 503-160 refused") << 5 << QList<int>{502, 160, 502, 102} << "503-102"
                                            << "401";
        QTest::newRow("6: 1000-1000") << 6 << QList<int>{999, 1000} << "1000-1000"
                                      << "0";
        QTest::newRow("7: 5.2-0.7") << 7 << QList<int>{52, 7} << "5.2-0.7"
                                    << "4.5";
        QTest::newRow("7: 3-3") << 7 << QList<int>{30, 30} << "3-3"
                                << "0";
        QTest::newRow("7: 0-0") << 7 << QList<int>{0, 0} << "0-0"
                                << "0";
        QTest::newRow("8: 10-0.01") << 8 << QList<int>{999, 1} << "10-0.01"
                                    << "9.99";
        QTest::newRow("8: 10-9.99") << 8 << QList<int>{999, 999} << "10-9.99"
                                    << "0.01";
        QTest::newRow("8: 2.5-1.05") << 8 << QList<int>{249, 105} << "2.5-1.05"
                                     << "1.45";
        QTest::newRow("8: lowest") << 8 << QList<int>{0, 0} << "0.01-0"
                                   << "0.01";
    }
    void examples()
    {
        QFETCH(int, type);
        QFETCH(QList<int>, draws);
        QFETCH(QString, question);
        QFETCH(QString, answer);
        // The accepted pair again: refused as a repeat for slot 2.
        GENERATOR_CHECK(checkFirstExample(generateSubtraction, type, draws, 2, question, answer));
    }

    void textBufferFollowsDecimalText_data()
    {
        QTest::addColumn<int>("places");
        for (int places = 0; places <= 3; ++places) QTest::addRow("%d places", places) << places;
    }
    void textBufferFollowsDecimalText()
    {
        // Every text of the generators is built in place; it must read as
        // the shared decimal rule writes it.
        QFETCH(int, places);
        for (qint64 v = 0; v <= 110000; v += (v < 2000 ? 1 : 97))
            QCOMPARE(TextBuffer().decimal(v, places).toBytes(), decimalText(v, places).toLatin1());
    }

    void contract_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("reseeds");
        QTest::newRow("-1") << -1 << false;
        QTest::newRow("minimum") << std::numeric_limits<int>::min() << false;
        QTest::newRow("9") << 9 << true;
        QTest::newRow("1000") << 1000 << true;
    }
    void contract()
    {
        QFETCH(int, number);
        QFETCH(bool, reseeds);
        GENERATOR_CHECK(checkContract(generateSubtraction, 7, 4, number, reseeds));
    }
};

QTEST_GUILESS_MAIN(TestSubtraction)
#include "test_subtraction.moc"
