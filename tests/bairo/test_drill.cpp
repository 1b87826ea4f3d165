// SPDX-License-Identifier: GPL-3.0-or-later
// The drill core: the problem draw (its properties, the draw order, the
// refusal of the pair before, the easy fallback), the reading of typed
// answers, the answer check, the run through a set with its score, the
// number of problems and the worksheet. The window's tests keep to what each
// result shows.
#include "bairo/core/drill.h"
#include "bairo/core/sheet.h"
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

int expectedAnswer(Kind kind, int first, int second)
{
    return kind == Kind::kLcm ? std::lcm(first, second) : std::gcd(first, second);
}

// One scripted event on the drill, and what it gave: S start, B the
// show-answer button, R the right answer, W a wrong one, E<text> Return on
// the text (_ a blank), H<text> Return held (no release after it), k another
// key, F<n> fixing the number of problems, P a printed sheet.
QString play(Drill& d, const QString& token)
{
    const QString arg = QString(token.mid(1)).replace(u'_', u' ');
    std::optional<Judgement> judged;
    switch (token[0].unicode()) {
    case 'S': d.start(); return {};
    case 'P': d.sheetPrinted(); return {};
    case 'F': d.fixCount(arg.toInt()); return {};
    case 'k': return d.keyPressed() ? u"mascot"_qs : u"-"_qs;
    case 'B': {
        static const char* const steps[] = {"answer", "next", "answer end"};
        return QString::fromLatin1(steps[int(d.showAnswerOrNext())]);
    }
    case 'R': judged = d.returnPressed(QString::number(d.problem().answer)); break;
    case 'W': judged = d.returnPressed(u"9973"); break;
    case 'E':
    case 'H': judged = d.returnPressed(arg); break;
    }
    if (token[0] != u'H') d.keyReleased();
    if (!judged) return u"-"_qs;
    static const char* const verdicts[] = {"right", "smaller", "larger", "wrong"};
    return QString::fromLatin1(verdicts[int(judged->verdict)]) + (judged->scored ? "+" : "") +
           (judged->finished ? " end" : "");
}

} // namespace

class TestDrill : public QObject {
    Q_OBJECT
private slots:
    // Many draws of each kind and level: the answer is the LCM or GCD, the
    // numbers lie in 1..largest and reach both ends, no pair follows itself.
    void drawProperties_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<Level>("level");
        QTest::addColumn<int>("largest");
        QTest::newRow("lcm easy") << Kind::kLcm << Level::kEasy << 12;
        QTest::newRow("lcm hard") << Kind::kLcm << Level::kHard << 60;
        QTest::newRow("gcd easy") << Kind::kGcd << Level::kEasy << 90;
        QTest::newRow("gcd hard") << Kind::kGcd << Level::kHard << 400;
    }
    void drawProperties()
    {
        QFETCH(Kind, kind);
        QFETCH(Level, level);
        QFETCH(int, largest);
        test_support::SeededRandomSource random(7);
        Problem before;
        int smallest = largest, biggest = 1;
        for (int i = 0; i < 20000; ++i) {
            const Problem p = drawProblem(kind, level, random, before);
            QCOMPARE(p.answer, expectedAnswer(kind, p.first, p.second));
            QVERIFY(p.first != before.first || p.second != before.second);
            smallest = std::min({smallest, p.first, p.second});
            biggest = std::max({biggest, p.first, p.second});
            before = p;
        }
        QCOMPARE(smallest, 1);
        QCOMPARE(biggest, largest);
    }

    // Which draws are made, in what order and range, and which pair results.
    void draws_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<Level>("level");
        QTest::addColumn<Ints>("before");
        QTest::addColumn<Ints>("script");
        QTest::addColumn<Ints>("ranges");
        QTest::addColumn<Ints>("pair");
        const Kind lcm = Kind::kLcm, gcd = Kind::kGcd;
        const Level easy = Level::kEasy, hard = Level::kHard;
        QTest::newRow("lcm: First then Second")
            << lcm << easy << Ints{0, 0} << Ints{3, 5} << Ints{12, 12} << Ints{4, 6};
        QTest::newRow("gcd: f, a, b")
            << gcd << easy << Ints{0, 0} << Ints{2, 3, 5} << Ints{9, 10, 10} << Ints{12, 18};
        QTest::newRow("lcm repeat refused, swapped pair taken")
            << lcm << easy << Ints{4, 6} << Ints{3, 5, 5, 3} << Ints{12, 12, 12, 12} << Ints{6, 4};
        QTest::newRow("gcd hard repeat falls back to easy ranges")
            << gcd << hard << Ints{400, 400} << Ints{19, 19, 19, 8, 9, 9}
            << Ints{20, 20, 20, 9, 10, 10} << Ints{90, 90};
        QTest::newRow("gcd hard fallback repeats too")
            << gcd << hard << Ints{90, 90} << Ints{8, 9, 9, 8, 9, 9, 0, 0, 0}
            << Ints{20, 20, 20, 9, 10, 10, 9, 10, 10} << Ints{1, 1};
    }
    void draws()
    {
        QFETCH(Kind, kind);
        QFETCH(Level, level);
        QFETCH(Ints, before);
        QFETCH(Ints, script);
        QFETCH(Ints, ranges);
        QFETCH(Ints, pair);
        RecordingRandom random(script);
        const Problem p = drawProblem(kind, level, random, {before[0], before[1], 0});
        QCOMPARE(random.ranges, ranges);
        QVERIFY(random.exhausted());
        QCOMPARE((Ints{p.first, p.second}), pair);
        QCOMPARE(random.reseeds, 0);
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
        QTest::newRow("stops before underflow") << "-2147483649" << true << -214748364;
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

    // The verdict on 4 and 6 (LCM 12) or 12 and 18 (GCD 6), by the kind in
    // force when Return is pressed.
    void check_data()
    {
        QTest::addColumn<Kind>("drawn");
        QTest::addColumn<Kind>("judged");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("verdict");
        const Kind lcm = Kind::kLcm, gcd = Kind::kGcd;
        QTest::newRow("lcm right") << lcm << lcm << "12"
                                   << "right+";
        QTest::newRow("lcm 24") << lcm << lcm << "24"
                                << "smaller";
        QTest::newRow("lcm 10") << lcm << lcm << "10"
                                << "wrong";
        QTest::newRow("lcm 6 divides one only") << lcm << lcm << "6"
                                                << "wrong";
        QTest::newRow("lcm -12") << lcm << lcm << "-12"
                                 << "smaller";
        QTest::newRow("lcm 0") << lcm << lcm << "0"
                               << "smaller";
        QTest::newRow("gcd right") << gcd << gcd << "6"
                                   << "right+";
        QTest::newRow("gcd 3") << gcd << gcd << "3"
                               << "larger";
        QTest::newRow("gcd 4") << gcd << gcd << "4"
                               << "wrong";
        QTest::newRow("gcd 12 divides one only") << gcd << gcd << "12"
                                                 << "wrong";
        QTest::newRow("gcd -3") << gcd << gcd << "-3"
                                << "larger";
        QTest::newRow("gcd 0 cannot divide") << gcd << gcd << "abc"
                                             << "wrong";
        QTest::newRow("lcm problem, gcd rule") << lcm << gcd << "2"
                                               << "larger";
    }
    void check()
    {
        QFETCH(Kind, drawn);
        QFETCH(Kind, judged);
        QFETCH(QString, typed);
        QFETCH(QString, verdict);
        test_support::ScriptedRandomSource random;
        random.pushAll(drawn == Kind::kLcm ? Ints{3, 5} : Ints{2, 3, 5});
        Drill d(random);
        d.setKind(drawn);
        d.start();
        d.setKind(judged);
        QCOMPARE(play(d, "E" + typed), verdict);
    }

    // The run through a set. Observed: currentNumber, firstTryCorrect,
    // score, answerShown, mascotShowing, onFirstTry, returnArmed, and what
    // the last event gave.
    void run_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<Ints>("state");
        QTest::addColumn<QString>("last");
        auto row = [](const char* name, const char* script, const Ints& state, const char* last) {
            QTest::newRow(name) << QString::fromLatin1(script) << state
                                << QString::fromLatin1(last);
        };
        // clang-format off
        row("before start", "", {0, 0, 0, 0, 1, 1, 1}, "");
        row("start", "S", {1, 0, 0, 0, 1, 1, 1}, "");
        row("right moves on", "S R", {2, 1, 100, 0, 0, 1, 1}, "right+");
        row("a key after praise brings the mascot back", "S R k", {2, 1, 100, 0, 1, 1, 1}, "mascot");
        row("a key with the mascot showing", "S k", {1, 0, 0, 0, 1, 1, 1}, "-");
        row("0 is a common multiple", "S E0", {1, 0, 0, 0, 0, 0, 1}, "smaller");
        row("wrong stays", "S R W", {2, 1, 50, 0, 0, 0, 1}, "wrong");
        row("wrong, then right scores nothing", "S W R", {2, 0, 0, 0, 0, 1, 1}, "right");
        row("2 of 3 gives 66", "S R R W", {3, 2, 66, 0, 0, 0, 1}, "wrong");
        row("right after that keeps 66", "S R R W R", {4, 2, 66, 0, 0, 1, 1}, "right");
        row("show answer", "S B", {1, 0, 0, 1, 1, 0, 1}, "answer");
        row("show answer brings the mascot back", "S W B", {1, 0, 0, 1, 1, 0, 1}, "answer");
        row("next problem", "S B B", {2, 0, 0, 0, 1, 1, 1}, "next");
        row("Return on the shown answer", "S B R", {2, 0, 0, 0, 0, 1, 1}, "right");
        row("right on the last ends the set", "F2 S R R", {1, 0, 100, 0, 0, 1, 1}, "right+ end");
        row("show answer on the last", "F2 S R B", {1, 0, 50, 1, 0, 0, 1}, "answer end");
        row("the show-answer button after the end goes on", "F2 S R B B", {2, 0, 50, 0, 0, 1, 1}, "next");
        row("Return after the end, as problem 1", "F2 S R R R", {2, 1, 100, 0, 0, 1, 1}, "right+");
        row("7 of 10 ends with 70", "F10 S R R W R R R B B R R W R R", {1, 0, 70, 0, 0, 1, 1}, "right+ end");
        row("a set of 1 after 0", "F0 S W R", {1, 0, 0, 0, 0, 0, 1}, "right end");
        row("a count lowered in the middle", "S R R F2 R", {1, 0, 100, 0, 0, 1, 1}, "right+ end");
        row("start after the end", "F2 S R R S", {1, 0, 0, 0, 0, 1, 1}, "");
        row("a printed sheet starts a new set", "S R W P", {1, 0, 0, 0, 0, 1, 1}, "");
        row("the show-answer button before start", "B", {0, 0, 0, 1, 1, 0, 1}, "answer");
        row("twice before start", "B B", {1, 0, 0, 0, 1, 1, 1}, "next");
        row("Return before start", "E12", {0, 0, 0, 0, 1, 1, 1}, "-");
        row("an empty answer is not judged", "S H", {1, 0, 0, 0, 1, 1, 1}, "-");
        row("blanks are not judged", "S H__", {1, 0, 0, 0, 1, 1, 1}, "-");
        row("a held Return judges once", "S H1 H1", {1, 0, 0, 0, 0, 0, 0}, "-");
        // clang-format on
    }
    void run()
    {
        QFETCH(QString, script);
        QFETCH(Ints, state);
        QFETCH(QString, last);
        test_support::ScriptedRandomSource random;
        Drill d(random);
        QString gave;
        for (const QString& token : script.split(u' ', Qt::SkipEmptyParts)) gave = play(d, token);
        const RunState& s = d.state();
        QCOMPARE((Ints{s.currentNumber, s.firstTryCorrect, d.score(), s.answerShown,
                       s.mascotShowing, s.onFirstTry, s.returnArmed}),
                 state);
        QCOMPARE(gave, last);
    }

    // What a run gives the records: each judged answer with its try and its
    // hint, and at the end of a set its score and the next set.
    void records_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("lcm: a hint, a second try, the end")
            << Kind::kLcm << "F2 S E0 R R" << QStringList{"set bairo lcm:easy 2",
                                                          "answer 1 1w smaller-multiple",
                                                          "answer 1 2r",
                                                          "answer 2 1r",
                                                          "end 50",
                                                          "set bairo lcm:easy 2"};
        QTest::newRow("gcd: a hint, a shown answer")
            << Kind::kGcd << "S E3 W B R"
            << QStringList{"set bairo gcd:easy 100", "answer 1 1w larger-divisor", "answer 1 2w",
                           "answer 1 3rs"};
    }
    void records()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, script);
        QFETCH(QStringList, events);
        test_support::ScriptedRandomSource random{2, 3, 5};
        test_support::RecordingRecords records;
        Drill d(random, records);
        d.setKind(kind);
        for (const QString& token : script.split(u' ', Qt::SkipEmptyParts)) play(d, token);
        QCOMPARE(records.events, events);
        QCOMPARE(records.answers.first().fact, kind == Kind::kLcm ? "lcm:3,4" : "gcd:12,18");
    }

    // A number of problems from the input box is kept within 1..100.
    void count_data()
    {
        QTest::addColumn<int>("typed");
        QTest::addColumn<int>("count");
        QTest::newRow("1") << 1 << 1;
        QTest::newRow("100") << 100 << 100;
        QTest::newRow("largest lowered") << std::numeric_limits<int>::max() << 100;
        QTest::newRow("smallest raised") << std::numeric_limits<int>::min() << 1;
    }
    void count()
    {
        QFETCH(int, typed);
        QFETCH(int, count);
        test_support::ScriptedRandomSource random;
        Drill d(random);
        d.fixCount(typed);
        QCOMPARE(d.count(), count);
        QVERIFY(d.countIsFixed());
        d.releaseCount();
        QCOMPARE(d.count(), 100);
        QVERIFY(!d.countIsFixed());
    }

    void sheetTexts()
    {
        QCOMPARE(sheetQuestion({4, 6, 12}, Kind::kLcm), u"4 と 6 の最小公倍数は"_qs);
        QCOMPARE(sheetAnswer({4, 6, 12}, Kind::kLcm), u"4 と 6 のLCMは 12"_qs);
        QCOMPARE(sheetQuestion({12, 18, 6}, Kind::kGcd), u"12 と 18 の最大公約数は"_qs);
        QCOMPARE(sheetAnswer({12, 18, 6}, Kind::kGcd), u"12 と 18 のGCMは 6"_qs);
    }

    // The sheet's problems come from one seeding, with the drill's draw: the
    // first not the problem on show, none the pair just before it.
    void sheet()
    {
        test_support::ScriptedRandomSource random{3, 5, 5, 3};
        const common::Worksheet sheet =
            makeWorksheet(Kind::kLcm, Level::kEasy, 100, random, {4, 6, 12});
        QCOMPARE(random.reseeds, 1);
        QCOMPARE(sheet.problems.size(), 100);
        QCOMPARE(sheet.answers.size(), 100);
        QCOMPARE(sheet.answers.first(), u"6 と 4 のLCMは 12"_qs);
        for (qsizetype i = 1; i < sheet.answers.size(); ++i) {
            const QStringList words = sheet.answers[i].split(u' ');
            const int first = words[0].toInt(), second = words[2].toInt();
            QCOMPARE(sheet.answers[i],
                     sheetAnswer({first, second, std::lcm(first, second)}, Kind::kLcm));
            QCOMPARE(sheet.problems[i], sheetQuestion({first, second, 0}, Kind::kLcm));
            QVERIFY(sheet.problems[i] != sheet.problems[i - 1]);
        }
    }

    // A review prints its own pairs, each by its kind and cut to the fixed
    // count; printing starts the review again rather than a drawn set.
    void reviewSheet_data()
    {
        QTest::addColumn<int>("fixed");
        QTest::addColumn<QStringList>("answers");
        QTest::newRow("every pair")
            << 0 << QStringList{u"12 と 18 のGCMは 6"_qs, u"4 と 6 のLCMは 12"_qs};
        QTest::newRow("cut to one") << 1 << QStringList{u"12 と 18 のGCMは 6"_qs};
    }
    void reviewSheet()
    {
        QFETCH(int, fixed);
        QFETCH(QStringList, answers);
        test_support::ScriptedRandomSource random{0};
        Drill d(random);
        if (fixed) d.fixCount(fixed);
        QVERIFY(d.startReview({{u"gcd:12,18"_qs, {}, {}, true}, {u"lcm:4,6"_qs, {}, {}, false}}));
        QCOMPARE(d.worksheet().answers, answers);
        QCOMPARE(d.worksheet().problems.first(), u"12 と 18 の最大公約数は"_qs);
        d.sheetPrinted();
        QVERIFY(d.reviewing());
        QCOMPARE(d.problem().first, 12);
        QCOMPARE(d.state().currentNumber, 1);
    }
};

QTEST_GUILESS_MAIN(TestDrill)
#include "test_drill.moc"
