// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The arithmetic drill without its windows: the set in hand and the choice
// that made it, the run through the set with its first-try score, the
// judging of a typed answer with Return's arming, the fixed number of
// problems, the warm-up that comes first once where the records cannot
// tell yet how quickly the child types, and the day's practice, whose end
// the records are told of. The main window passes clicks, keys and typed texts in and
// shows what comes back.

#include "common/worksheet.h"
#include "numira/core/catalogue.h"
#include "numira/core/generators.h"
#include "numira/core/problem_store.h"
#include "records/model/records_service.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

namespace numira {

// A choice confirmed in the choice window, with the title of its set; a
// review choice brings its problems, the day's practice its set.
struct ChosenSet {
    Choice choice;
    QString title;
    QList<common::ReviewProblem> review = {};
    common::DaySet day = {};
};

// Where a run stands.
struct RunState {
    int currentNumber = 0;   // problem now shown, from 1; count + 1 after the last
    int firstTryCorrect = 0; // problems right with no wrong try and no shown answer
    bool onFirstTry = false;
    bool answerShown = false;
    bool finished = false;
    bool setChosen = false;    // answers and the answer button count only after a choice
    bool mascotShowing = true; // the picture is the mascot, not a judgement's
    bool returnArmed = false;  // a key was released since the last Return
};

// What the show-answer button did.
enum class Step {
    kNone,          // nothing: no set chosen yet, or an answer asked for after the end
    kAnswerShown,   // the answer of the problem on show, which earns no point now
    kNextProblem,   // on to the next problem
    kEnded,         // past the last problem: the end of the run
    kEndedAtAnswer, // an answer asked for beyond a lowered count: the end, the mascot back
};

enum class Verdict { kRight, kWrong };

// What Return did with a typed answer.
struct Judgement {
    Verdict verdict = Verdict::kWrong;
    bool finished = false; // the right answer to the last problem ended the run
};

// A set as a worksheet, as the print button and the command line print it:
// each problem with " =", and again with its answer.
common::Worksheet makeWorksheet(const ProblemStore& store);

// The fact a problem asks, for the records, named by its sign:
// "add:38+47", "sub:8.1-2.5", "mul:7x8", "div:17/5".
QString factKey(const QString& question);
// A choice for the records: "add:3" (category and kind number),
// "table:2,7,9" with "+0" when the rows start at 0, or "review".
QString choiceKey(const Choice& choice);

// A review set in the store: its problems in their order, at most 100.
void fillReview(const QList<common::ReviewProblem>& review, ProblemStore& store);

// The choice of a Numira kind named by its key ("add:4"), as the records
// and the day's practice name it; nothing for another key.
std::optional<Choice> choiceOfKind(const QString& key);

// The day's set in the store: its facts in their order, then the first
// problems of a set of its procedure kind, drawn from the day's seed so
// that the same day gives the same problems; at most 100 in all.
void fillDaySet(const common::DaySet& day, ProblemStore& store);
// How many problems the day's set holds in the store.
int daySetSize(const common::DaySet& day);

// A step of the path in the child's words: "5のだん", "7のだんのわりざん",
// "たしざん4" (a kind by its page and its number in the list).
QString stepName(const QString& step);
// What the message line says at the end of a day's set: the day's mark,
// the steps passed, both, or nothing (empty).
QString dayMessage(const common::DayOutcome& outcome);

// The warm-up's numbers in the store: kWarmUpNumbers of them, one and two
// digits in turn, each its own question and answer.
inline constexpr int kWarmUpNumbers = 5;
void fillWarmUp(RandomSource& random, ProblemStore& store);

class Drill {
public:
    explicit Drill(RandomSource& random, common::RecordsService& records = common::nullRecords())
        : m_generators(random), m_random(random), m_records(records), m_log(records)
    {
    }

    // Asks for a choice through `ask` (nothing: the choice window was closed
    // without one) and starts a run on a fresh set. A table choice without
    // rows makes no set and is asked for again; closing the window then leaves
    // the set and its run as they were. Closed at the first asking, a fresh
    // set of the choice in force is made. True when a run started.
    //
    // The first time a child whose typing the records do not know yet
    // chooses a kind of facts to know by heart, the run is the warm-up
    // first: numbers to type as shown, recorded as a set of their own that
    // counts for nothing, and the chosen set starts after its last number.
    bool chooseSet(const std::function<std::optional<ChosenSet>()>& ask);

    // The same set again from its first problem, the score back to 0; in
    // the warm-up, the warm-up again.
    void startAgain();

    // Shows the answer of the problem on show (no point for it then), or
    // after that moves on to the next problem.
    Step showAnswerOrNext();

    // Keys in the answer field. Any key after Return was released puts the
    // mascot back in place of a judgement's picture; true when it did.
    bool keyPressed();
    // Return: the typed text is judged when Return is armed (a key released
    // since the last Return, so that a held Return judges once), during a
    // run, and when it holds more than blanks. Any Return disarms it.
    std::optional<Judgement> returnPressed(QStringView typed);
    // A real key release, not an auto-repeated one, arms Return again.
    void keyReleased() { m_state.returnArmed = true; }

    // Fixes the number of problems within 1..100: the set in hand is cut to
    // it now, every new set as it is made. True when the set in hand was cut.
    bool fixCount(int typed);
    // Back to the set's own size.
    void releaseCount();
    bool countIsFixed() const { return m_countIsFixed; }
    int fixedCount() const { return m_fixedCount; }

    const RunState& state() const { return m_state; }
    // The set chosen, also while the warm-up runs before it.
    const ProblemStore& store() const { return m_store; }
    const Choice& choice() const { return m_choice; }
    // Whether the run is the warm-up: its numbers have no score.
    bool warmingUp() const { return m_warmingUp; }
    // The count, title, problems and answers of what runs: the warm-up or the set.
    int count() const { return running().count; }
    QString title() const { return running().title.text(); }
    // The problem on show and its answer.
    QString question() const;
    QString answer() const;
    // The score so far: the problem on show counts once it was tried wrong or
    // its answer shown.
    int score() const;
    // The score at the end, over the problems dealt with.
    int endScore() const;
    common::Worksheet worksheet() const { return makeWorksheet(m_store); }
    // What the day's set that just ended earned, as the records told it;
    // nothing for any other run and while a run goes on.
    const std::optional<common::DayOutcome>& dayOutcome() const { return m_dayOutcome; }

private:
    void startRun();
    void restartRun();
    void endRun();
    bool answersHaveRemainders() const;
    bool warmUpDue();
    QString recordedChoice() const;
    const ProblemStore& running() const { return m_warmingUp ? m_warmUp : m_store; }

    ProblemGenerators m_generators;
    RandomSource& m_random;
    common::RecordsService& m_records;
    common::AnswerLog m_log;
    ProblemStore m_store;
    ProblemStore m_warmUp; // numbers to type, each its own answer
    bool m_warmingUp = false;
    bool m_warmUpSettled = false; // given once, or not needed: never asked again
    Choice m_choice;
    QList<common::ReviewProblem> m_review; // the problems of a review choice
    common::DaySet m_day;                  // the set of the day's practice
    std::optional<common::DayOutcome> m_dayOutcome;
    bool m_countIsFixed = false;
    int m_fixedCount = 0;
    RunState m_state;
};

} // namespace numira
