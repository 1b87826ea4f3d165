#pragma once

// The LCM/GCD drill without its window: the state every handler shares, the
// problem draw with its arithmetic, the reading of a typed answer, the answer
// check and the score. TForm1 owns one DrillState, passes the typed texts in
// and writes what comes back into its controls.

#include <QString>
#include <QStringView>

#include <optional>

namespace common {
class RandomSource;
}

namespace bairo {

inline constexpr int MaxSetSize = 100;

// Texts the drill writes into the message line and the problem line.
namespace text {
inline const QString LcmWord = QStringLiteral("最小公倍数");
inline const QString GcdWord = QStringLiteral("最大公約数");
inline const QString Placeholder = QStringLiteral("***");
inline const QString ChooseAndStart = QStringLiteral("問題を選んでスタートボタンを押してね");
inline const QString TypeAndReturn = QStringLiteral("答えを入れてリターンキーを押してね");
inline const QString Right = QStringLiteral("せいかいです！");
inline const QString SmallerMultiple = QStringLiteral("もっと小さい公倍数があります");
inline const QString LargerDivisor = QStringLiteral("もっと大きい公約数があります");
inline const QString Wrong = QStringLiteral("ぶ～　まちがえたよ");
inline const QString FinishedBefore = QStringLiteral("おしまいです。");
inline const QString FinishedAfter = QStringLiteral("点です。");
inline const QString NotAnInteger = QStringLiteral("'%s' は整数ではありません");
} // namespace text

struct Problem {
    int First = 0;
    int Second = 0;
    int Answer = 0; // LCM or GCD of First and Second, by the kind it was drawn with
};

// How a judged answer is answered.
enum class Verdict {
    Right,
    SmallerMultiple, // a common multiple, but not the least
    LargerDivisor,   // a common divisor, but not the greatest
    Wrong,
};

// What Return did: the verdict, whether it earned the point, and whether the
// set is over (the caller then runs FinishSet instead of the next problem).
struct Judgement {
    Verdict verdict = Verdict::Wrong;
    bool scored = false;
    bool finished = false;
};

// Least common multiple, found as the first multiple of the larger number that
// the smaller divides. Both numbers at least 1.
int LeastCommonMultiple(int first, int second);
// Greatest common divisor by Euclid's remainders. Both numbers at least 1.
int GreatestCommonDivisor(int first, int second);

const QString& KindWord(int kind);
const QString& VerdictMessage(Verdict verdict);

// The whole number at the start of a typed answer: blanks around it skipped,
// a sign allowed and kept, reading stops at the first non-digit or before the
// digit that would leave the 32-bit range. A text with no leading number
// reads as 0; an empty text (or blanks only) gives nothing: it is not judged.
std::optional<int> ReadAnswer(QStringView typed);

// The drill state, one per window, alive for the whole run.
struct DrillState {
    int ProblemKind = 0;  // 0 least common multiple, 1 greatest common divisor
    int ProblemLevel = 0; // 0 easy, 1 hard
    int SetSize = MaxSetSize;
    bool SetSizeFixed = false;
    int QuestionNo = 0; // number of the problem on display, 1-based
    int CorrectCount = 0;
    int Score = 0;
    Problem CurrentProblem;
    int PreviousFirst = 0;
    int PreviousSecond = 0;
    bool AnswerShown = false;
    bool FirstTry = true;
    bool ReturnArmed = true;
    bool MascotShown = true;
    bool Printing = false; // a problem sheet is being drawn: no re-seeding per problem

    // Start: kind and level from the radio groups, counters back to zero.
    void Start(int kind, int level);

    // Draws the next problem of the current kind and level into
    // CurrentProblem and counts it. Re-seeds first unless Printing is set.
    void NewProblem(common::RandomSource& random);

    // Which message the value earns against the problem on display, judged by
    // the kind now selected.
    Verdict Check(int value) const;

    // Return in the answer field. Nothing is judged while Return is disarmed,
    // before the first problem exists, or when the field holds no text.
    std::optional<Judgement> ReturnPressed(QStringView typed);
    // Any key released in the answer field arms Return again.
    void KeyReleased() { ReturnArmed = true; }

    // The show-answer button: the problem loses its point. True when this was
    // the last problem of the set, so FinishSet follows.
    bool ShowAnswer();

    // End of the set: the final score, and the counters set for going on.
    int FinishSet();

    // The number of problems: released back to the full set, or fixed to a
    // typed number, kept within 1..MaxSetSize.
    void ReleaseSetSize();
    void FixSetSize(int count);

    // CorrectCount × 100 div QuestionNo, 0 before the first problem.
    int CurrentScore() const;
};

} // namespace bairo
