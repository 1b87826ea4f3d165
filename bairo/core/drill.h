// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The LCM/GCD drill without its window: the state every handler shares, the
// problem draw with its arithmetic, the reading of a typed answer, the answer
// check and the score. MainWindow owns one DrillState, passes the typed texts in
// and writes what comes back into its controls.

#include "common/drill_rules.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace common {
class RandomSource;
}

namespace bairo {

inline constexpr int kMaxSetSize = common::kMaxProblems;

// Texts the drill writes into the message line and the problem line.
namespace text {
inline const QString kLcmWord = QStringLiteral("最小公倍数");
inline const QString kGcdWord = QStringLiteral("最大公約数");
inline const QString kPlaceholder = QStringLiteral("***");
inline const QString kChooseAndStart = QStringLiteral("問題を選んでスタートボタンを押してね");
inline const QString kTypeAndReturn = QStringLiteral("答えを入れてリターンキーを押してね");
inline const QString kRight = QStringLiteral("せいかいです！");
inline const QString kSmallerMultiple = QStringLiteral("もっと小さい公倍数があります");
inline const QString kLargerDivisor = QStringLiteral("もっと大きい公約数があります");
inline const QString kWrong = QStringLiteral("ぶ～　まちがえたよ");
inline const QString kFinishedBefore = QStringLiteral("おしまいです。");
inline const QString kFinishedAfter = QStringLiteral("点です。");
} // namespace text

struct Problem {
    int first = 0;
    int second = 0;
    int answer = 0; // LCM or GCD of first and second, by the kind it was drawn with
    bool operator==(const Problem&) const = default;
};

// How a judged answer is answered.
enum class Verdict {
    Right,
    SmallerMultiple, // a common multiple, but not the least
    LargerDivisor,   // a common divisor, but not the greatest
    Wrong,
};

// What Return did: the verdict, whether it earned the point, and whether the
// set is over (the caller then runs finishSet instead of the next problem).
struct Judgement {
    Verdict verdict = Verdict::Wrong;
    bool scored = false;
    bool finished = false;
};

// Least common multiple, found as the first multiple of the larger number that
// the smaller divides. Both numbers at least 1.
int leastCommonMultiple(int first, int second);
// Greatest common divisor by Euclid's remainders. Both numbers at least 1.
int greatestCommonDivisor(int first, int second);

const QString& kindWord(int kind);
const QString& verdictMessage(Verdict verdict);

// The whole number at the start of a typed answer: blanks around it skipped,
// a sign allowed and kept, reading stops at the first non-digit or before the
// digit that would leave the 32-bit range. A text with no leading number
// reads as 0; an empty text (or blanks only) gives nothing: it is not judged.
std::optional<int> readAnswer(QStringView typed);

// The drill state, one per window, alive for the whole run.
struct DrillState {
    int problemKind = 0;  // 0 least common multiple, 1 greatest common divisor
    int problemLevel = 0; // 0 easy, 1 hard
    int setSize = kMaxSetSize;
    bool setSizeFixed = false;
    int questionNo = 0; // number of the problem on display, 1-based
    int correctCount = 0;
    int score = 0;
    Problem currentProblem;
    int previousFirst = 0;
    int previousSecond = 0;
    bool answerShown = false;
    bool firstTry = true;
    bool returnArmed = true;
    bool mascotShown = true;
    bool printing = false; // a problem sheet is being drawn: no re-seeding per problem
    bool operator==(const DrillState&) const = default;

    // Start: kind and level from the radio groups, counters back to zero.
    void start(int kind, int level);

    // Draws the next problem of the current kind and level into
    // currentProblem and counts it. Re-seeds first unless printing is set.
    void newProblem(common::RandomSource& random);

    // Which message the value earns against the problem on display, judged by
    // the kind now selected.
    Verdict check(int value) const;

    // Return in the answer field. Nothing is judged while Return is disarmed,
    // before the first problem exists, or when the field holds no text.
    std::optional<Judgement> returnPressed(QStringView typed);
    // Any key released in the answer field arms Return again.
    void keyReleased() { returnArmed = true; }

    // The show-answer button: the problem loses its point. True when this was
    // the last problem of the set, so finishSet follows.
    bool showAnswer();

    // End of the set: the final score, and the counters set for going on.
    int finishSet();

    // The number of problems: released back to the full set, or fixed to a
    // typed number, kept within 1..kMaxSetSize.
    void releaseSetSize();
    void fixSetSize(int count);

    // correctCount × 100 div questionNo, 0 before the first problem.
    int currentScore() const;
};

} // namespace bairo
