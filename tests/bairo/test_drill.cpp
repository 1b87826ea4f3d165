// SPDX-License-Identifier: GPL-3.0-or-later
// The drill core: the problem draw (ranges, draw order, refusal of the pair
// before, the easy fallback), LCM and GCD against the standard library, the
// reading of typed answers, the answer check and the number of problems.
// Whole sets and their scores are driven through the window's tests.
#include "bairo/core/drill.h"
#include "common/random_source.h"
#include "tests/support/doubles.h"

#include <QTest>

#include <limits>
#include <numeric>

using namespace bairo;
using Ints = QList<int>;

namespace {

// Scripted draws that also record the n of every uniform(n).
class RecordingRandom final : public common::RandomSource {
public:
    explicit RecordingRandom(const Ints& script) { m_script.pushAll(script); }
    int uniform(int n) override
    {
        ranges << n;
        return m_script.uniform(n);
    }
    void reseedFromClock() override { ++reseeds; }
    bool exhausted() const { return m_script.exhausted(); }
    Ints ranges;
    int reseeds = 0;

private:
    test_support::ScriptedRandomSource m_script;
};

} // namespace

class TestDrill : public QObject {
    Q_OBJECT
private slots:
    // Every draw of every kind and level against std::lcm / std::gcd.
    void everyDraw_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("level");
        QTest::addColumn<Ints>("ranges");
        QTest::newRow("lcm easy") << 0 << 0 << Ints{12, 12};
        QTest::newRow("lcm hard") << 0 << 1 << Ints{60, 60};
        QTest::newRow("gcd easy") << 1 << 0 << Ints{9, 10, 10};
        QTest::newRow("gcd hard") << 1 << 1 << Ints{20, 20, 20};
    }
    void everyDraw()
    {
        QFETCH(int, kind);
        QFETCH(int, level);
        QFETCH(Ints, ranges);
        Ints script(ranges.size(), 0); // counts through every combination of draws
        for (;;) {
            DrillState d;
            d.problemKind = kind;
            d.problemLevel = level;
            RecordingRandom random(script);
            d.newProblem(random);
            const Problem& p = d.currentProblem;
            const int f = kind == 0 ? 1 : script[0] + 1;
            QCOMPARE(p.first, f * (script[kind] + 1));
            QCOMPARE(p.second, f * (script[kind + 1] + 1));
            QCOMPARE(p.answer,
                     kind == 0 ? std::lcm(p.first, p.second) : std::gcd(p.first, p.second));
            int i = 0;
            while (i < script.size() && ++script[i] == ranges[i]) script[i++] = 0;
            if (i == script.size()) break;
        }
    }

    // Which draws are made, in what order and range, and which pair results.
    void draws_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("previousFirst");
        QTest::addColumn<int>("previousSecond");
        QTest::addColumn<Ints>("script");
        QTest::addColumn<Ints>("ranges");
        QTest::addColumn<Ints>("pair");
        QTest::newRow("lcm easy: First then Second")
            << 0 << 0 << 0 << 0 << Ints{3, 5} << Ints{12, 12} << Ints{4, 6};
        QTest::newRow("lcm hard") << 0 << 1 << 0 << 0 << Ints{59, 0} << Ints{60, 60} << Ints{60, 1};
        QTest::newRow("gcd easy: f, a, b")
            << 1 << 0 << 0 << 0 << Ints{2, 3, 5} << Ints{9, 10, 10} << Ints{12, 18};
        QTest::newRow("gcd hard") << 1 << 1 << 0 << 0 << Ints{19, 19, 0} << Ints{20, 20, 20}
                                  << Ints{400, 20};
        QTest::newRow("lcm repeat refused, swapped pair taken")
            << 0 << 0 << 4 << 6 << Ints{3, 5, 5, 3} << Ints{12, 12, 12, 12} << Ints{6, 4};
        QTest::newRow("lcm half a repeat is no repeat")
            << 0 << 0 << 4 << 6 << Ints{3, 6} << Ints{12, 12} << Ints{4, 7};
        QTest::newRow("gcd hard repeat falls back to easy ranges")
            << 1 << 1 << 400 << 400 << Ints{19, 19, 19, 8, 9, 9} << Ints{20, 20, 20, 9, 10, 10}
            << Ints{90, 90};
        QTest::newRow("gcd hard repeat by other factors")
            << 1 << 1 << 12 << 18 << Ints{5, 1, 2, 0, 2, 3} << Ints{20, 20, 20, 9, 10, 10}
            << Ints{3, 4};
        QTest::newRow("gcd hard fallback repeats too")
            << 1 << 1 << 90 << 90 << Ints{8, 9, 9, 8, 9, 9, 0, 0, 0}
            << Ints{20, 20, 20, 9, 10, 10, 9, 10, 10} << Ints{1, 1};
    }
    void draws()
    {
        QFETCH(int, kind);
        QFETCH(int, level);
        QFETCH(int, previousFirst);
        QFETCH(int, previousSecond);
        QFETCH(Ints, script);
        QFETCH(Ints, ranges);
        QFETCH(Ints, pair);
        DrillState d;
        d.problemKind = kind;
        d.problemLevel = level;
        d.previousFirst = previousFirst;
        d.previousSecond = previousSecond;
        d.questionNo = 4;
        d.firstTry = false;
        d.answerShown = true;
        RecordingRandom random(script);
        d.newProblem(random);
        QCOMPARE(random.ranges, ranges);
        QVERIFY(random.exhausted());
        QCOMPARE((Ints{d.currentProblem.first, d.currentProblem.second}), pair);
        QCOMPARE((Ints{d.previousFirst, d.previousSecond}), pair);
        QCOMPARE(d.questionNo, 5);
        QVERIFY(d.firstTry);
        QVERIFY(!d.answerShown);
        QCOMPARE(random.reseeds, 1);
    }

    void noReseedWhilePrinting()
    {
        DrillState d;
        d.printing = true;
        RecordingRandom random({});
        for (int i = 0; i < 5; ++i) d.newProblem(random);
        QCOMPARE(random.reseeds, 0);
        QCOMPARE(d.questionNo, 5);
    }

    void readAnswer_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("judged");
        QTest::addColumn<int>("value");
        QTest::newRow("12") << "12" << true << 12;
        QTest::newRow("blanks around") << "  12  " << true << 12;
        QTest::newRow("minus") << "-12" << true << -12;
        QTest::newRow("minus, trailing blank keeps sign") << "-12 " << true << -12;
        QTest::newRow("minus, letters keep sign") << "-12abc" << true << -12;
        QTest::newRow("12abc") << "12abc" << true << 12;
        QTest::newRow("no number") << "abc" << true << 0;
        QTest::newRow("full-width blank first") << u"\u300012"_qs << true << 0;
        QTest::newRow("full-width digits") << u"１２"_qs << true << 0;
        QTest::newRow("largest") << "2147483647" << true << 2147483647;
        QTest::newRow("smallest") << "-2147483648" << true << int(-2147483648LL);
        QTest::newRow("stops before overflow") << "2147483648" << true << 214748364;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("blanks only") << "   " << false << 0;
        QTest::newRow("full-width blank only") << u"\u3000"_qs << false << 0;
    }
    void readAnswer()
    {
        QFETCH(QString, typed);
        QFETCH(bool, judged);
        QFETCH(int, value);
        const std::optional<int> read = bairo::readAnswer(typed);
        QCOMPARE(read.has_value(), judged);
        if (judged) QCOMPARE(*read, value);
    }

    void check_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<Ints>("problem");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("message");
        const QString right = u"せいかいです！"_qs;
        const QString multiple = u"もっと小さい公倍数があります"_qs;
        const QString divisor = u"もっと大きい公約数があります"_qs;
        const QString wrong = u"ぶ～　まちがえたよ"_qs;
        const Ints lcm{4, 6, 12};
        const Ints gcd{12, 18, 6};
        QTest::newRow("lcm right") << 0 << lcm << 12 << right;
        QTest::newRow("lcm 24") << 0 << lcm << 24 << multiple;
        QTest::newRow("lcm 10") << 0 << lcm << 10 << wrong;
        QTest::newRow("lcm 6 divides one only") << 0 << lcm << 6 << wrong;
        QTest::newRow("lcm -12") << 0 << lcm << -12 << multiple;
        QTest::newRow("lcm 0") << 0 << lcm << 0 << multiple;
        QTest::newRow("gcd right") << 1 << gcd << 6 << right;
        QTest::newRow("gcd 3") << 1 << gcd << 3 << divisor;
        QTest::newRow("gcd 4") << 1 << gcd << 4 << wrong;
        QTest::newRow("gcd 12 divides one only") << 1 << gcd << 12 << wrong;
        QTest::newRow("gcd -3") << 1 << gcd << -3 << divisor;
        QTest::newRow("gcd 0 cannot divide") << 1 << gcd << 0 << wrong;
        // The kind switched while an LCM problem shows: judged by the GCD rule.
        QTest::newRow("lcm problem, gcd rule") << 1 << lcm << 2 << divisor;
    }
    void check()
    {
        QFETCH(int, kind);
        QFETCH(Ints, problem);
        QFETCH(int, value);
        QFETCH(QString, message);
        DrillState d;
        d.problemKind = kind;
        d.currentProblem = {problem[0], problem[1], problem[2]};
        QCOMPARE(verdictMessage(d.check(value)), message);
    }

    // A number of problems from the input box is kept within 1..100.
    void setSize_data()
    {
        QTest::addColumn<int>("typed");
        QTest::addColumn<int>("setSize");
        QTest::newRow("10") << 10 << 10;
        QTest::newRow("100") << 100 << 100;
        QTest::newRow("250 lowered") << 250 << 100;
        QTest::newRow("largest lowered") << std::numeric_limits<int>::max() << 100;
        QTest::newRow("1") << 1 << 1;
        QTest::newRow("0 raised") << 0 << 1;
        QTest::newRow("-3 raised") << -3 << 1;
        QTest::newRow("smallest raised") << std::numeric_limits<int>::min() << 1;
    }
    void setSize()
    {
        QFETCH(int, typed);
        QFETCH(int, setSize);
        DrillState d;
        d.fixSetSize(typed);
        QCOMPARE(d.setSize, setSize);
        QVERIFY(d.setSizeFixed);
        d.releaseSetSize();
        QCOMPARE(d.setSize, 100);
        QVERIFY(!d.setSizeFixed);
    }

    // Before any problem there is nothing to divide the score by.
    void scoreBeforeAnyProblem()
    {
        DrillState d;
        QCOMPARE(d.finishSet(), 0);
        QCOMPARE(d.currentScore(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDrill)
#include "test_drill.moc"
