// SPDX-License-Identifier: GPL-3.0-or-later
// The drill's rules without a window: choosing a set, a run through it with
// its first-try score, showing answers, starting again, Return's arming, and
// the fixed number of problems.
#include "common/random_source.h"
#include "numira/core/drill.h"
#include "numira/core/judge.h"
#include "records/model/fluency.h"
#include "tests/support/doubles.h"

#include <QTest>

using namespace numira;
using common::records::keyFact;

namespace {

// A choice of a kind as the choice window gives it; the table with all rows.
ChosenSet chosen(int category, int number)
{
    ChosenSet set{{category, number, {}}, findProblemKind(category, number)->title()};
    set.choice.tableRows.rows.fill(true);
    set.choice.tableRows.lowestMultiplier = 1;
    return set;
}

// A drill on a seeded source, played as a child would.
struct Child {
    bool choose(int category, int number)
    {
        return drill.chooseSet([&] { return std::optional(chosen(category, number)); });
    }
    // Return after a released key.
    std::optional<Judgement> judge(const QString& typed)
    {
        drill.keyReleased();
        return drill.returnPressed(typed);
    }
    // n: choose the kind, r/w: a right/wrong answer, s: the show-answer
    // button, a: start again, f<number>: fix the count, u: release it.
    void play(int category, int number, const QString& script)
    {
        for (qsizetype i = 0; i < script.size(); ++i) {
            switch (script[i].unicode()) {
            case 'n': choose(category, number); break;
            case 'r': judge(drill.answer()); break;
            case 'w': judge(drill.answer() + "9"); break;
            case 's': drill.showAnswerOrNext(); break;
            case 'a': drill.startAgain(); break;
            case 'u': drill.releaseCount(); break;
            case 'f': {
                qsizetype end = i + 1;
                while (end < script.size() && (script[end].isDigit() || script[end] == u'-')) ++end;
                drill.fixCount(script.mid(i + 1, end - i - 1).toInt());
                i = end - 1;
                break;
            }
            }
        }
    }

    test_support::SeededRandomSource random{1};
    test_support::RecordingRecords records;
    Drill drill{random, records};
};

} // namespace

class TestDrill : public QObject {
    Q_OBJECT
private slots:
    void runs_data()
    {
        QTest::addColumn<int>("type"); // of addition
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("current"); // the problem on show
        QTest::addColumn<int>("right");   // first-try answers
        QTest::addColumn<int>("score");   // as shown: the running score, or the end score
        QTest::addColumn<bool>("finished");
        QTest::newRow("ten problems, seventy")
            << 6 << "f10n rrrrrrr wr wr ss" << 10 << 11 << 7 << 70 << true;
        QTest::newRow("nothing more after the end")
            << 6 << "f10n rrrrrrr wr wr ss rs rs" << 10 << 11 << 7 << 70 << true;
        QTest::newRow("last right answer ends") << 2 << "f2n r wr" << 2 << 3 << 1 << 50 << true;
        QTest::newRow("wrong, then right: no point")
            << 4 << "n r wr" << 100 << 3 << 1 << 50 << false;
        QTest::newRow("score after show answer")
            << 4 << "n r wr r r s" << 100 << 5 << 3 << 60 << false;
        QTest::newRow("shown answer typed: no point")
            << 4 << "n r wr r r s r" << 100 << 6 << 3 << 60 << false;
        const QString shownThrough = "n" + QString("ss").repeated(45); // 45 problems
        QTest::newRow("show answer through the set")
            << 0 << shownThrough << 45 << 46 << 0 << 0 << true;
        QTest::newRow("show answer after the end")
            << 0 << shownThrough + "ss" << 45 << 46 << 0 << 0 << true;
        QTest::newRow("start again after the end")
            << 0 << shownThrough + "a" << 45 << 1 << 0 << 0 << false;
        QTest::newRow("start again mid-run") << 4 << "n rrw a" << 100 << 1 << 0 << 0 << false;
        // A count lowered below the problem on show ends the run over the
        // problems dealt with: never above 100.
        QTest::newRow("count lowered, then show answer")
            << 4 << "n rrrrr f3 s" << 3 << 6 << 5 << 100 << true;
        QTest::newRow("count lowered while shown")
            << 4 << "n rrrrr s f1 sss" << 1 << 7 << 5 << 83 << true;
        QTest::newRow("fixed count applies to a new set")
            << 4 << "f5n rrrrr" << 5 << 6 << 5 << 100 << true;
        QTest::newRow("released: the set's own size")
            << 4 << "f5n rr u" << 100 << 3 << 2 << 100 << false;
        QTest::newRow("fixed at 0: one problem") << 4 << "f0n" << 1 << 1 << 0 << 0 << false;
        QTest::newRow("fixed at -3: one problem") << 4 << "f-3n r" << 1 << 2 << 1 << 100 << true;
        QTest::newRow("released before any set") << 4 << "f5u" << 0 << 0 << 0 << 0 << false;
        QTest::newRow("no set chosen: nothing judged") << 4 << "sr ws" << 0 << 0 << 0 << 0 << false;
        QTest::newRow("start again before any set") << 4 << "a s r" << 0 << 1 << 0 << 0 << false;
    }
    void runs()
    {
        QFETCH(int, type);
        QFETCH(QString, script);
        QFETCH(int, count);
        QFETCH(int, current);
        QFETCH(int, right);
        QFETCH(int, score);
        QFETCH(bool, finished);
        Child c;
        c.play(kAddition, type, script);
        const RunState& s = c.drill.state();
        QCOMPARE(c.drill.count(), count);
        QCOMPARE(s.currentNumber, current);
        QCOMPARE(s.firstTryCorrect, right);
        QCOMPARE(s.finished ? c.drill.endScore() : c.drill.score(), score);
        QCOMPARE(s.finished, finished);
    }

    // What a run gives the records: each judged answer with its try, a set
    // at each start, its end with the end score.
    void records_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("tries, a shown answer, the end")
            << "f3n r ww r sr"
            << QStringList{"set numira add:6 3", "answer 1 1r",  "answer 2 1w", "answer 2 2w",
                           "answer 2 3r",        "answer 3 1rs", "end 33"};
        QTest::newRow("start again is a new set")
            << "f2n r a rr"
            << QStringList{"set numira add:6 2", "answer 1 1r", "set numira add:6 2",
                           "answer 1 1r",        "answer 2 1r", "end 100"};
        QTest::newRow("ended by the answer button, once")
            << "f1n ss ss" << QStringList{"set numira add:6 1", "end 0"};
        QTest::newRow("nothing before a set") << "r s a" << QStringList{};
    }
    void records()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, events);
        Child c;
        c.play(kAddition, 6, script);
        QCOMPARE(c.records.events, events);
        for (const common::AnswerRecord& a : c.records.answers) {
            QVERIFY(a.fact.startsWith("add:") && a.fact.contains(u'+'));
            QVERIFY(a.answeredAt.isValid() && a.answeredAt.timeSpec() == Qt::UTC);
        }
    }

    // The warm-up, once, before a set of facts to know by heart while the
    // records do not know the keying: numbers of one digit and two in turn,
    // recorded as keying facts; then the set from its start, nothing scored.
    void warmUp_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("keying"); // -1 records off, 0 not known, 1 known
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("events"); // the warm-up's, "answer " left out
        QTest::newRow("the table, the last number passed")
            << 4 << 0 << 0 << "wr rrr ss"
            << "set numira keying 5,1 1w,1 2r,2 1r,3 1r,4 1r,end 60";
        QTest::newRow("worked through") << 0 << 4 << 0 << QString() << QString();
        QTest::newRow("records off") << 4 << 0 << -1 << QString() << QString();
        QTest::newRow("keying known") << 4 << 0 << 1 << QString() << QString();
    }
    void warmUp()
    {
        QFETCH(int, category);
        QFETCH(int, number);
        QFETCH(int, keying);
        QFETCH(QString, script);
        QFETCH(QString, events);
        Child c;
        if (keying >= 0) c.records.keying = keying == 1;
        c.play(category, number, "n" + script);
        // The set from its first problem, with nothing of the warm-up scored.
        QVERIFY(c.drill.question() == c.drill.store().question(1) &&
                c.drill.state().firstTryCorrect == 0);
        c.play(category, number, "n"); // and no warm-up again
        const QString set = u"set numira "_qs + choiceKey(c.drill.choice()) + u' ' +
                            QString::number(c.drill.store().count);
        QCOMPARE(c.records.events.join(u',').remove("answer "),
                 (events.isEmpty() ? set : events + u',' + set) + u',' + set);
        for (const common::AnswerRecord& a : c.records.answers)
            QVERIFY(a.fact == keyFact(a.rightAnswer.toInt()) &&
                    a.rightAnswer.size() == 2 - a.position % 2);
    }

    void keysForRecords_data()
    {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("fact");
        QTest::newRow("addition") << "38+47"
                                  << "add:38+47";
        QTest::newRow("decimal subtraction") << "8.1-2.5"
                                             << "sub:8.1-2.5";
        QTest::newRow("division sign") << u"17÷5"_qs << "div:17/5";
        QTest::newRow("table") << "7x8"
                               << "mul:7x8";
    }
    void keysForRecords()
    {
        QFETCH(QString, question);
        QFETCH(QString, fact);
        QCOMPARE(factKey(question), fact);
        Choice table{kMultiplicationTable, 0, {}};
        table.tableRows.rows[1] = table.tableRows.rows[6] = true;
        QCOMPARE(choiceKey(table), "table:2,7+0");
    }

    // A review set is drilled in its own order, each answer judged by its own
    // kind (a remainder where it has one), and replayed and recorded like any set.
    void reviewSet()
    {
        const QList<common::ReviewProblem> review{{"div:17/5", u"17÷5"_qs, "3...2", true},
                                                  {"mul:7x8", "7x8", "56", false},
                                                  {"add:3.5+1.25", "3.5+1.25", "4.75", false}};
        Child c;
        QVERIFY(c.drill.chooseSet([&] {
            return std::optional(ChosenSet{{kReview, 0, {}}, u"にがて"_qs, review});
        }));
        QCOMPARE(c.drill.count(), 3);
        QCOMPARE(c.drill.question(), u"17÷5"_qs);
        QCOMPARE(c.judge("3")->verdict, Verdict::kWrong);
        QCOMPARE(c.judge("3 ... 2")->verdict, Verdict::kRight);
        QCOMPARE(c.judge("56")->verdict, Verdict::kRight);
        QCOMPARE(c.judge("4.750")->verdict, Verdict::kRight);
        QVERIFY(c.drill.state().finished);
        c.drill.startAgain();
        QCOMPARE(c.drill.question(), u"17÷5"_qs);
        QCOMPARE(c.records.events.first(), "set numira review 3");
        QCOMPARE(c.records.answers.first().fact, "div:17/5");
    }

    // The day's set: its facts in order, then a short set of its procedure
    // kind drawn from the day's seed (the same seed, the same set), at most 100.
    void daySet_data()
    {
        QTest::addColumn<int>("facts");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("kindCount");
        QTest::addColumn<int>("size");
        QTest::newRow("facts only") << 3 << QString() << 0 << 3;
        QTest::newRow("facts, then a kind") << 2 << "add:4" << 8 << 10;
        QTest::newRow("a kind with remainders only") << 0 << "div:5" << 6 << 6;
        QTest::newRow("cut at 100") << 98 << "sub:3" << 10 << 100;
    }
    void daySet()
    {
        QFETCH(int, facts);
        QFETCH(QString, kind);
        QFETCH(int, kindCount);
        QFETCH(int, size);
        common::DaySet day{"table:7", {}, kind, kindCount, 41, false};
        for (int k = 0; k < facts; ++k)
            day.problems.append({"mul:7x" + QString::number(k), "7x" + QString::number(k),
                                 QString::number(7 * k), k == 0});
        ProblemStore store, again, nextDay;
        fillDaySet(day, store);
        fillDaySet(day, again);
        fillDaySet({"", day.problems, kind, kindCount, 42}, nextDay);
        QCOMPARE(daySetSize(day), size);
        QCOMPARE(store.count, size);
        const auto texts = [](const ProblemStore& set) {
            QStringList all;
            for (int k = 1; k <= set.count; ++k) all << set.question(k) + u'=' + set.answer(k);
            return all;
        };
        QCOMPARE(texts(store), texts(again));
        QCOMPARE(texts(store) == texts(nextDay), size == facts);
        for (int k = facts + 1; k <= size; ++k)
            QVERIFY(factKey(store.question(k)).startsWith(kind.left(4)) &&
                    judgeAnswer(store.answer(k), store.answer(k), kind == "div:5"));
        for (int k = 1; k <= facts; ++k) QCOMPARE(store.question(k), day.problems[k - 1].question);
    }

    // The choice window answered in turn: "k n" a list item, "table" rows,
    // "empty" a table choice without rows, "closed" the close box. Before,
    // division 5 (with remainders) was chosen and two problems answered.
    void choosing_data()
    {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<bool>("started");
        QTest::addColumn<int>("category"); // of the choice in force after
        QTest::addColumn<int>("number");
        QTest::newRow("a list item") << QStringList{"0 1"} << true << 0 << 1;
        QTest::newRow("table rows") << QStringList{"table"} << true << 4 << 0;
        QTest::newRow("closed: the choice in force again")
            << QStringList{"closed"} << true << 3 << 4;
        QTest::newRow("no rows: asked again") << QStringList{"empty", "1 2"} << true << 1 << 2;
        QTest::newRow("no rows, then closed: the set stays")
            << QStringList{"empty", "empty", "closed"} << false << 3 << 4;
    }
    void choosing()
    {
        QFETCH(QStringList, answers);
        QFETCH(bool, started);
        QFETCH(int, category);
        QFETCH(int, number);
        Child c;
        c.play(kDivision, 4, "n rr");
        const QString before = c.drill.question();
        int asked = 0;
        const bool result = c.drill.chooseSet([&]() -> std::optional<ChosenSet> {
            const QString answer = answers.value(asked++);
            if (answer == "closed") return std::nullopt;
            if (answer == "table") return chosen(kMultiplicationTable, 0);
            if (answer == "empty") return ChosenSet{{kMultiplicationTable, 0, {}}, "-"};
            return chosen(answer.section(' ', 0, 0).toInt(), answer.section(' ', 1).toInt());
        });
        QCOMPARE(result, started);
        QCOMPARE(asked, answers.size());
        QCOMPARE(c.drill.choice().category, category);
        QCOMPARE(c.drill.choice().number, number);
        QCOMPARE(c.drill.title(), findProblemKind(category, number)->title());
        QCOMPARE(c.drill.state().currentNumber, started ? 1 : 3);
        QCOMPARE(c.drill.question() != before, started);
        // The set's own remainders are still judged as such: the quotient alone is wrong.
        if (!started)
            QCOMPARE(c.judge(c.drill.answer().section("...", 0, 0))->verdict, Verdict::kWrong);
    }

    void everyKindDrillsToAFullScore()
    {
        // Every kind makes its set, and each stored answer is right, typed
        // with blanks around its numbers. A remainder answer needs its
        // remainder: the quotient alone is wrong, and costs the point.
        Child c;
        for (const ProblemKind& kind : problemKinds()) {
            QVERIFY(c.choose(kind.category, kind.number));
            QVERIFY2(c.drill.count() >= 1 && c.drill.count() <= 100, qPrintable(kind.title()));
            bool recall = true; // the kinds the warm-up comes before: all facts timed
            for (int k = 1; k <= c.drill.count(); ++k)
                recall &= common::records::isRecallFact(factKey(c.drill.store().question(k)));
            QVERIFY2(recall == asksRecallFacts(c.drill.choice()), qPrintable(kind.title()));
            int points = 0;
            while (!c.drill.state().finished) {
                const QString answer = c.drill.answer();
                const bool quotientAlone = kind.hasRemainder && !answer.endsWith(u"...0");
                if (quotientAlone)
                    QCOMPARE(c.judge(answer.section("...", 0, 0))->verdict, Verdict::kWrong);
                points += !quotientAlone;
                const QString typed = " " + QString(answer).replace("...", " ... ") + " ";
                QCOMPARE(c.judge(typed)->verdict, Verdict::kRight);
            }
            QCOMPARE(c.drill.state().currentNumber, c.drill.count() + 1);
            QCOMPARE(c.drill.endScore(), points * 100 / c.drill.count());
        }
    }

    // Return presses (r right, w wrong, b blanks), real key releases (^) and
    // other keys (k): only a Return after a release is judged, blanks are
    // not, and a key after a release brings the mascot back after a judgement.
    void keys_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("judged");
        QTest::addColumn<int>("mascotBack");
        QTest::newRow("not armed before any release") << "r" << 0 << 0;
        QTest::newRow("held Return, right answer") << "^rrrk" << 1 << 0;
        QTest::newRow("held Return, wrong answer") << "^wwwk" << 1 << 0;
        QTest::newRow("each release arms") << "^w^kw^kr" << 3 << 2;
        QTest::newRow("blanks: not judged, but disarmed") << "^bw^b^r" << 1 << 0;
        QTest::newRow("mascot already back") << "k^r^kk" << 1 << 1;
    }
    void keys()
    {
        QFETCH(QString, keys);
        QFETCH(int, judged);
        QFETCH(int, mascotBack);
        Child c;
        c.choose(kAddition, 4);
        int judgements = 0, back = 0;
        for (QChar key : keys) {
            if (key == u'^')
                c.drill.keyReleased();
            else if (key == u'k')
                back += c.drill.keyPressed();
            else
                judgements += c.drill
                                  .returnPressed(key == u'r'   ? c.drill.answer()
                                                 : key == u'w' ? "-1"
                                                               : " \t ")
                                  .has_value();
        }
        QCOMPARE(judgements, judged);
        QCOMPARE(back, mascotBack);
        // Blanks cost nothing: a right answer after them still scores.
        if (keys.endsWith(u"b^r")) QCOMPARE(c.drill.score(), 100);
    }
};

QTEST_GUILESS_MAIN(TestDrill)
#include "test_drill.moc"
