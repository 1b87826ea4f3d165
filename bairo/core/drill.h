// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The LCM/GCD drill without its window: the run through a set with its
// first-try score, the problem draw with its arithmetic, the judging of a
// typed answer with Return's arming, the resting picture and the fixed
// number of problems. The window passes clicks, keys and typed texts in and
// shows what comes back: texts, pictures and sounds are its own.
//
// The calls and names are those of the arithmetic drill (numira/core/drill.h).
// Where the two programs differ on purpose:
// - here Return is armed from the start, there only after a key release;
// - here a Return on a blank field leaves Return armed, there it disarms it;
// - here any key brings the mascot back, there only once Return was released;
// - here a set has no last state: after its end the count starts again at 1
//   and the drill goes on, and a right answer says whether it scored, since
//   only then is the score on show brought up to date.

#include "common/drill_rules.h"
#include "common/worksheet.h"
#include "records/model/records_service.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace common {
class RandomSource;
}

namespace bairo {

enum class Kind { kLcm, kGcd };
enum class Level { kEasy, kHard };

struct Problem {
    int first = 0;
    int second = 0;
    int answer = 0; // LCM or GCD of first and second, by the kind it was drawn with
    bool operator==(const Problem&) const = default;
};

// How a judged answer is answered.
enum class Verdict {
    kRight,
    kSmallerMultiple, // a common multiple, but not the least
    kLargerDivisor,   // a common divisor, but not the greatest
    kWrong,
};

// What Return did with a typed answer.
struct Judgement {
    Verdict verdict = Verdict::kWrong;
    bool scored = false;   // the right answer earned the point
    bool finished = false; // the right answer to the last problem ended the set
};

// What the show-answer button did.
enum class Step {
    kAnswerShown,   // the answer of the problem on show, which earns no point now
    kNextProblem,   // on to the next problem
    kEndedAtAnswer, // the answer of the last problem shown, and the set ended
};

// Where a run stands.
struct RunState {
    int currentNumber = 0;   // problem now shown, from 1; 1 again after the end of a set
    int firstTryCorrect = 0; // problems right with no wrong try and no shown answer
    bool onFirstTry = true;
    bool answerShown = false;
    bool mascotShowing = true; // the picture is the mascot, not a judgement's
    bool returnArmed = true;   // a key was released since the last judged Return
    bool operator==(const RunState&) const = default;
};

// Least common multiple, found as the first multiple of the larger number that
// the smaller divides. Both numbers at least 1.
int leastCommonMultiple(int first, int second);
// Greatest common divisor by Euclid's remainders. Both numbers at least 1.
int greatestCommonDivisor(int first, int second);

// "最小公倍数" or "最大公約数": the problem line and the sheet name the kind by it.
const QString& kindWord(Kind kind);

// Draws a problem of the kind and level; never the ordered pair of `before`.
Problem drawProblem(Kind kind, Level level, common::RandomSource& random, const Problem& before);

// The whole number at the start of a typed answer: blanks around it skipped,
// a sign allowed and kept, reading stops at the first non-digit or before the
// digit that would leave the 32-bit range. A text with no leading number
// reads as 0; an empty text (or blanks only) gives nothing: it is not judged.
std::optional<int> readAnswer(QStringView typed);

// The fact a problem asks, for the records: "lcm:6,8" or "gcd:12,18".
QString factKey(Kind kind, const Problem& problem);
// Kind and level, for the records: "lcm:easy", "gcd:hard".
QString choiceKey(Kind kind, Level level);

// A pair the records name ("lcm:6,8"), with its answer worked out.
struct Pair {
    Kind kind = Kind::kLcm;
    Problem problem;
};
// Nothing for a key that is not a kind and two whole numbers from 1 up to
// the largest a level draws.
std::optional<Pair> parseFactKey(QStringView fact);

class Drill {
public:
    explicit Drill(common::RandomSource& random,
                   common::RecordsService& records = common::nullRecords())
        : m_random(random), m_log(records)
    {
    }

    // Kind and level count from the next problem drawn; the problem on show
    // is judged by the kind now chosen.
    void setKind(Kind kind) { m_kind = kind; }
    void setLevel(Level level) { m_level = level; }

    // A new set from its first problem, the score back to 0.
    void start();
    // A set of the missed pairs come back, in their order, each judged by
    // its own kind; recorded as the choice "review", and no longer than the
    // fixed number of problems. At its end the drill goes on drawing.
    // False, and nothing changes, when the list holds no pair.
    bool startReview(const QList<common::ReviewProblem>& review);
    bool reviewing() const { return !m_review.isEmpty(); }

    // Shows the answer of the problem on show (no point for it then), or
    // after that moves on to the next problem.
    Step showAnswerOrNext();

    // Keys in the answer field. Any key puts the mascot back in place of a
    // judgement's picture; true when it did.
    bool keyPressed();
    // Return: the typed text is judged when Return is armed, a problem is on
    // show and the text holds more than blanks; judging disarms it, so that a
    // held Return judges once. A right answer moves on or ends the set.
    std::optional<Judgement> returnPressed(QStringView typed);
    // A real key release, not an auto-repeated one, arms Return again.
    void keyReleased() { m_state.returnArmed = true; }

    // Fixes the number of problems within 1..100, from the next comparison on.
    void fixCount(int typed);
    // Back to the full set.
    void releaseCount();
    bool countIsFixed() const { return m_countIsFixed; }
    int count() const { return m_count; }
    // The problems of the set running: count(), or the review's.
    int setSize() const;

    // The print button's worksheet: fresh problems of the kind and level in
    // force, the first not the pair on show; during a review, its pairs.
    common::Worksheet worksheet() const;
    // A printed sheet starts a new set; a review starts again from its first pair.
    void sheetPrinted();

    const RunState& state() const { return m_state; }
    Kind kind() const { return m_kind; }
    // The kind the problem on show is judged by: a review's pair its own,
    // any other the kind chosen now.
    Kind problemKind() const { return m_pairKind.value_or(m_kind); }
    Level level() const { return m_level; }
    // The problem on show; all 0 before the first.
    const Problem& problem() const { return m_problem; }
    // The score as it was last worked out: after a judged answer, at the end
    // of a set, 0 at the start.
    int score() const { return m_score; }
    // The score the last set ended with (worked out over its problems).
    int endScore() const { return m_score; }

private:
    void beginSet(const QString& choice);
    void newProblem(const Problem& before);
    void finishSet();
    Verdict check(int value) const;

    common::RandomSource& m_random;
    common::AnswerLog m_log;
    Kind m_kind = Kind::kLcm;
    Level m_level = Level::kEasy;
    int m_count = common::kMaxProblems;
    bool m_countIsFixed = false;
    int m_score = 0;
    Problem m_problem;
    std::optional<Kind> m_pairKind; // the problem on show is a review's pair of this kind
    QList<Pair> m_review;           // the review's pairs while it runs
    RunState m_state;
};

} // namespace bairo
