// SPDX-License-Identifier: GPL-3.0-or-later
// Division sets: for every type and many seeds, the ranges and conditions,
// quotients and remainders checked by multiplying back, distinct pairs, text
// widths with the two-byte sign, the shuffle and the judging of every answer;
// the two enumerated types, the order and ranges of the draws with their
// early tests, worked examples and the generator contract.
#include "numira/core/division.h"
#include "numira/core/judge.h"
#include "tests/numira/generator_checks.h"
#include "tests/support/doubles.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <limits>

using namespace numira;
using namespace numira::generator_checks;

namespace {

qint64 scaled(const QString& text, int places) { return scaledCanonical(text, places); }

qint64 power(int e)
{
    qint64 p = 1;
    while (e-- > 0) p *= 10;
    return p;
}

struct ReadDivision {
    qint64 dividend, divisor;
    QString answer;
};

// The set's problems by question text, with the operands read back.
QHash<QString, ReadDivision> problems(const ProblemStore& store, int dividendPlaces,
                                      int divisorPlaces)
{
    QHash<QString, ReadDivision> all;
    for (int k = 1; k <= store.count; ++k) {
        const QStringList parts = store.question(k).split(u'÷');
        if (parts.size() != 2) continue;
        all.insert(store.question(k), {scaled(parts[0], dividendPlaces),
                                       scaled(parts[1], divisorPlaces), store.answer(k)});
    }
    return all;
}

const QRegularExpression& remainderForm()
{
    static const QRegularExpression form(QStringLiteral(R"(^(0|[1-9]\d*)\.\.\.(0|[1-9]\d*)$)"));
    return form;
}

} // namespace

class TestDivision : public QObject {
    Q_OBJECT
private slots:
    void everyType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("dividendPlaces");
        QTest::addColumn<int>("divisorPlaces");
        QTest::addColumn<int>("answerPlaces"); // -1: quotient "..." remainder
        QTest::addColumn<int>("dividendMax");
        QTest::addColumn<int>("divisorMin");
        QTest::addColumn<int>("divisorMax");
        QTest::newRow("type 0") << 0 << 81 << 0 << 0 << 0 << 81 << 1 << 9;
        QTest::newRow("type 1") << 1 << 100 << 0 << 0 << 0 << 100 << 1 << 9;
        QTest::newRow("type 2") << 2 << 100 << 0 << 0 << 0 << 1000 << 1 << 9;
        QTest::newRow("type 3") << 3 << 100 << 0 << 0 << 0 << 1000 << 10 << 98;
        QTest::newRow("type 4") << 4 << 100 << 0 << 0 << -1 << 100 << 1 << 9;
        QTest::newRow("type 5") << 5 << 100 << 0 << 0 << -1 << 200 << 1 << 99;
        QTest::newRow("type 6") << 6 << 100 << 1 << 0 << 1 << 999 << 1 << 9;
        QTest::newRow("type 7") << 7 << 100 << 0 << 1 << 0 << 100 << 1 << 98;
        QTest::newRow("type 8") << 8 << 100 << 1 << 1 << 0 << 999 << 1 << 98;
        QTest::newRow("type 9") << 9 << 100 << 2 << 1 << 1 << 999 << 1 << 98;
        QTest::newRow("type 10") << 10 << 90 << 0 << 0 << -1 << 89 << 1 << 9;
    }
    void everyType()
    {
        QFETCH(int, type);
        QFETCH(int, size);
        QFETCH(int, dividendPlaces);
        QFETCH(int, divisorPlaces);
        QFETCH(int, answerPlaces);
        QFETCH(int, dividendMax);
        QFETCH(int, divisorMin);
        QFETCH(int, divisorMax);
        for (int seed = 1; seed <= 60; ++seed) {
            test_support::SeededRandomSource random(seed * 6151 + type);
            UsedPairs used;
            ProblemStore store;
            generateDivision(type, store, used, random);
            QCOMPARE(store.count, size);
            QCOMPARE(store.countText().text(), QString::number(size));
            QCOMPARE(random.reseeds, 2); // every set is shuffled
            const auto all = problems(store, dividendPlaces, divisorPlaces);
            QCOMPARE(all.size(), size); // no pair twice
            for (auto it = all.cbegin(); it != all.cend(); ++it) {
                const QString& q = it.key();
                const auto& [dividend, divisor, answer] = it.value();
                QVERIFY2(dividend >= (type == 10 ? 0 : 1) && dividend <= dividendMax,
                         qPrintable(q));
                QVERIFY2(divisor >= divisorMin && divisor <= divisorMax, qPrintable(q));
                // scaledAnswer decimal operand never ends in 0, so it shows all its places.
                if (dividendPlaces > 0) QVERIFY2(dividend % 10 != 0, qPrintable(q));
                if (divisorPlaces > 0) QVERIFY2(divisor % 10 != 0, qPrintable(q));
                if (answerPlaces >= 0) {
                    // answer x divisor = dividend, on a common scale.
                    const qint64 scaledAnswer = scaled(answer, answerPlaces);
                    QVERIFY2(scaledAnswer >= 0, qPrintable(answer));
                    QCOMPARE(scaledAnswer * divisor * power(dividendPlaces),
                             dividend * power(answerPlaces + divisorPlaces));
                    if (answerPlaces > 0) QVERIFY2(scaledAnswer % 10 != 0, qPrintable(answer));
                } else {
                    const auto m = remainderForm().match(answer);
                    QVERIFY2(m.hasMatch(), qPrintable(answer));
                    const qint64 quotient = m.captured(1).toLongLong();
                    const qint64 remainder = m.captured(2).toLongLong();
                    QCOMPARE(quotient * divisor + remainder, dividend);
                    QVERIFY2(remainder < divisor, qPrintable(q));
                    if (type == 10)
                        QVERIFY2((remainder == 0) == (divisor == 1) && quotient <= 9,
                                 qPrintable(q));
                    else
                        QVERIFY2(remainder != 0 && divisor <= dividend, qPrintable(q));
                }
                QVERIFY2(judgedRightAndWrong(answer, hasRemainder(kDivision, type)),
                         qPrintable(answer));
            }
            for (int k = 1; k <= size; ++k) {
                GENERATOR_CHECK(checkWidths(store, k, 9));
                // The sign is the two Shift-JIS bytes 81 80.
                QVERIFY(store.slot[k].question.bytes().contains("\x81\x80"));
            }
        }
    }

    void enumeratedTypes()
    {
        for (int seed = 1; seed <= 10; ++seed) {
            test_support::SeededRandomSource random(seed);
            UsedPairs used;
            ProblemStore store;
            generateDivision(0, store, used, random);
            // Type 0: the 81 table divisions, and no pair recorded.
            QSet<QString> table;
            for (int d = 1; d <= 9; ++d)
                for (int q = 1; q <= 9; ++q)
                    table.insert(QString("%1÷%2=%3").arg(d * q).arg(d).arg(q));
            QSet<QString> got;
            for (int k = 1; k <= store.count; ++k)
                got.insert(store.question(k) + u'=' + store.answer(k));
            QCOMPARE(got, table);
            QVERIFY(used.contains(-1, -1, 1)); // entry 1 free

            // Type 10: one problem for every quotient 0..9 and divisor 1..9,
            // each pair also in the family's table, entries 1..90.
            generateDivision(10, store, used, random);
            QSet<std::pair<qint64, qint64>> quotientDivisor, pairs;
            for (const auto& p : problems(store, 0, 0)) {
                quotientDivisor.insert({p.dividend / p.divisor, p.divisor});
                pairs.insert({p.dividend, p.divisor});
            }
            QCOMPARE(quotientDivisor.size(), 90);
            // The 90 distinct pairs fill entries 1..90, and entry 91 is free.
            for (const auto& [dividend, divisor] : pairs)
                QVERIFY(used.contains(qint32(dividend), qint32(divisor), 90));
            QVERIFY(!used.contains(-1, -1, 90) && used.contains(-1, -1, 91));
        }
    }

    void typeTenRemaindersVary()
    {
        QSet<QString> answersOfNineByNine;
        for (int seed = 1; seed <= 20; ++seed) {
            test_support::SeededRandomSource random(seed);
            UsedPairs used;
            ProblemStore store;
            generateDivision(10, store, used, random);
            for (int k = 1; k <= 90; ++k)
                if (store.question(k).endsWith(u"÷9") && store.answer(k).startsWith(u"9..."))
                    answersOfNineByNine.insert(store.answer(k));
        }
        QVERIFY(answersOfNineByNine.size() > 1);
    }

    void enumeratedOrderAndExamples()
    {
        // Type 10 draws one remainder for each divisor 2..9 of each quotient;
        // all scripted 0 (remainder 1) but 17÷5 (draw 1) and 3÷7 (draw 2).
        // The shuffle's swaps, scripted onto slot 1 itself, keep the order
        // made, quotient by quotient: slot q*9 + d.
        test_support::ScriptedRandomSource random;
        for (int q = 0; q <= 9; ++q)
            for (int d = 2; d <= 9; ++d)
                random.push(q == 3 && d == 5 ? 1 : q == 0 && d == 7 ? 2 : 0);
        for (int k = 0; k < 180; ++k) random.push(0);
        UsedPairs used;
        ProblemStore store;
        generateDivision(10, store, used, random);
        QVERIFY(random.exhausted());
        QCOMPARE(random.draws, 80 + 180);
        const auto check = [&](int slot, const char16_t* question, const char* answer) {
            QCOMPARE(store.question(slot), QString::fromUtf16(question));
            QCOMPARE(store.answer(slot), QString::fromLatin1(answer));
        };
        check(1, u"0÷1", "0...0");
        check(2, u"1÷2", "0...1");
        check(7, u"3÷7", "0...3");
        check(32, u"17÷5", "3...2");
        check(46, u"5÷1", "5...0");
        check(90, u"82÷9", "9...1");

        test_support::ScriptedRandomSource zeros;
        for (int k = 0; k < 162; ++k) zeros.push(0);
        generateDivision(0, store, used, zeros);
        QCOMPARE(zeros.draws, 162);
        check(1, u"1÷1", "1");
        check(10, u"2÷2", "1");
        check(81, u"81÷9", "9");
    }

    void drawOrderAndRanges_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("dividendRange");
        QTest::addColumn<bool>("decimalDividend");
        QTest::addColumn<int>("divisorRange");
        QTest::addColumn<int>("divisorOffset");
        QTest::newRow("type 1") << 1 << 100 << false << 9 << 1;
        QTest::newRow("type 2") << 2 << 1000 << false << 9 << 1;
        QTest::newRow("type 3") << 3 << 1000 << false << 89 << 10;
        QTest::newRow("type 4") << 4 << 100 << false << 9 << 1;
        QTest::newRow("type 5") << 5 << 200 << false << 99 << 1;
        QTest::newRow("type 6") << 6 << 1000 << true << 9 << 1;
        QTest::newRow("type 7") << 7 << 100 << false << 98 << 1;
        QTest::newRow("type 8") << 8 << 1000 << true << 98 << 1;
        QTest::newRow("type 9") << 9 << 999 << true << 98 << 1;
    }
    void drawOrderAndRanges()
    {
        QFETCH(int, type);
        QFETCH(int, dividendRange);
        QFETCH(bool, decimalDividend);
        QFETCH(int, divisorRange);
        QFETCH(int, divisorOffset);
        for (int seed = 1; seed <= 5; ++seed) {
            RecordingRandomSource random(seed);
            UsedPairs used;
            ProblemStore store;
            generateDivision(type, store, used, random);
            const auto& draws = random.draws;
            QCOMPARE(draws.front().first, 0);
            // Attempts: the dividend; a decimal one ending in 0 is refused
            // before the divisor is drawn.
            qsizetype i = 1;
            int dividendsEndingInZero = 0;
            std::pair<qint32, qint32> last;
            while (draws[i].first != 0) {
                QCOMPARE(draws[i].first, dividendRange);
                const qint32 dividend = draws[i].second + 1;
                ++i;
                if (decimalDividend && dividend % 10 == 0) {
                    ++dividendsEndingInZero;
                    continue;
                }
                QCOMPARE(draws[i].first, divisorRange);
                last = {dividend, draws[i].second + divisorOffset};
                ++i;
            }
            if (decimalDividend) QVERIFY(dividendsEndingInZero > 0);
            // The last attempt is the hundredth pair; then the shuffle.
            QVERIFY(used.contains(last.first, last.second, 100) &&
                    !used.contains(last.first, last.second, 99));
            QCOMPARE(draws.size() - i, 1 + 200);
            for (++i; i < draws.size(); ++i) QCOMPARE(draws[i].first, 100);
        }
    }

    void examples_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QList<int>>("draws");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("refused");
        // Draws as the random source gives them (before any offset).
        QTest::newRow("1: 7÷7") << 1 << QList<int>{6, 1, 6, 6} << u"7÷7"_qs << "1"
                                << QStringList{u"7÷2"_qs};
        QTest::newRow("2: 1000÷8") << 2 << QList<int>{999, 6, 999, 7} << u"1000÷8"_qs << "125"
                                   << QStringList{u"1000÷7"_qs};
        QTest::newRow("3: 1000÷10") << 3 << QList<int>{999, 2, 999, 0} << u"1000÷10"_qs << "100"
                                    << QStringList{u"1000÷12"_qs};
        QTest::newRow("4: 17÷5") << 4 << QList<int>{4, 6, 14, 4, 16, 4} << u"17÷5"_qs << "3...2"
                                 << QStringList{u"5÷7"_qs, u"15÷5"_qs};
        QTest::newRow("5: 200÷99") << 5 << QList<int>{199, 0, 199, 98} << u"200÷99"_qs << "2...2"
                                   << QStringList{u"200÷1"_qs};
        QTest::newRow("6: 2.4÷3") << 6 << QList<int>{23, 2} << u"2.4÷3"_qs << "0.8"
                                  << QStringList{};
        QTest::newRow("6: 6.3÷3") << 6 << QList<int>{62, 2} << u"6.3÷3"_qs << "2.1"
                                  << QStringList{};
        // 3.0 is refused before a divisor is drawn: 23 is the next dividend.
        QTest::newRow("6: 3.0 refused at once")
            << 6 << QList<int>{29, 23, 2} << u"2.4÷3"_qs << "0.8" << QStringList{u"3÷3"_qs};
        QTest::newRow("7: 12÷0.4")
            << 7 << QList<int>{11, 3} << u"12÷0.4"_qs << "30" << QStringList{};
        QTest::newRow("7: 1÷0.5") << 7 << QList<int>{0, 4} << u"1÷0.5"_qs << "2" << QStringList{};
        QTest::newRow("7: 100÷0.1")
            << 7 << QList<int>{99, 0} << u"100÷0.1"_qs << "1000" << QStringList{};
        QTest::newRow("7: 3÷1.0 refused")
            << 7 << QList<int>{2, 9, 11, 3} << u"12÷0.4"_qs << "30" << QStringList{u"3÷1"_qs};
        QTest::newRow("8: 2.4÷0.6")
            << 8 << QList<int>{23, 5} << u"2.4÷0.6"_qs << "4" << QStringList{};
        QTest::newRow("8: 2.7÷0.3")
            << 8 << QList<int>{26, 2} << u"2.7÷0.3"_qs << "9" << QStringList{};
        QTest::newRow("8: 3.0 refused at once")
            << 8 << QList<int>{29, 23, 5} << u"2.4÷0.6"_qs << "4" << QStringList{u"3÷0.6"_qs};
        QTest::newRow("9: 1.44÷1.2")
            << 9 << QList<int>{143, 11} << u"1.44÷1.2"_qs << "1.2" << QStringList{};
        QTest::newRow("9: 0.48÷1.2")
            << 9 << QList<int>{47, 11} << u"0.48÷1.2"_qs << "0.4" << QStringList{};
        QTest::newRow("9: 0.05÷0.5")
            << 9 << QList<int>{4, 4} << u"0.05÷0.5"_qs << "0.1" << QStringList{};
        QTest::newRow("9: not exact refused") << 9 << QList<int>{142, 11, 143, 11} << u"1.44÷1.2"_qs
                                              << "1.2" << QStringList{u"1.43÷1.2"_qs};
    }
    void examples()
    {
        QFETCH(int, type);
        QFETCH(QList<int>, draws);
        QFETCH(QString, question);
        QFETCH(QString, answer);
        QFETCH(QStringList, refused);
        test_support::ScriptedRandomSource random;
        random.pushAll(draws);
        // The accepted pair once more: refused as a repeat.
        random.pushAll(draws.mid(draws.size() - 2));
        UsedPairs used;
        ProblemStore store;
        generateDivision(type, store, used, random);
        // The set is shuffled: look the problem up wherever it went.
        int found = 0;
        for (int k = 1; k <= store.count; ++k) {
            if (store.question(k) == question) {
                ++found;
                QCOMPARE(store.answer(k), answer);
            }
            QVERIFY2(!refused.contains(store.question(k)), qPrintable(store.question(k)));
        }
        QCOMPARE(found, 1);
        QCOMPARE(store.question(0), QString()); // the header question stays
    }

    void contract_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("reseeds");
        QTest::newRow("-1") << -1 << false;
        QTest::newRow("minimum") << std::numeric_limits<int>::min() << false;
        QTest::newRow("11") << 11 << true;
        QTest::newRow("maximum") << std::numeric_limits<int>::max() << true;
    }
    void contract()
    {
        QFETCH(int, number);
        QFETCH(bool, reseeds);
        GENERATOR_CHECK(checkContract(generateDivision, 13, 5, number, reseeds));
    }
};

QTEST_GUILESS_MAIN(TestDivision)
#include "test_division.moc"
