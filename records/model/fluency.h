// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Fast and right: a fact a child should know by heart (a recall fact) counts
// as known only when its recent right first tries came within the child's
// own time limit. The limit is a base time for recalling, which an adult sets
// per child, plus the child's own time to key the answer's digits and press
// Return, measured from its answers (or from a short warm-up) so that a slow
// typist is not taken for a slow recaller. Facts that are worked through (two
// digits and more, decimals, Bairo's pairs) are never timed.

#include "records/model/mastery.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace common::records {

// The base limits an adult chooses among, slowest first, in milliseconds;
// 3 s by default, where schools put automatic recall.
inline constexpr std::array<int, 5> kBaseLimitSteps{12000, 6000, 4000, 3000, 2000};
inline constexpr int kDefaultBaseLimitMs = 3000;

// How many of a fact's latest right first tries its usual time is the
// median of.
inline constexpr int kTimedRightTries = 5;

// A recall fact: the times table (a×b, both 0 to 9), the division facts of
// the table (a÷b with b 1 to 9 and a whole quotient up to 9), and addition
// and subtraction within 20 (whole numbers, the sum or the first number at
// most 20). Keys as the drills write them: "mul:7x8", "div:56/8",
// "add:8+7", "sub:15-8".
bool isRecallFact(const QString& fact);

// A right first try, as the keying estimate reads it: the fact, the right
// answer and the milliseconds from the problem's showing to Return.
struct TimedAnswer {
    QString fact;
    QString answer;
    qint64 elapsedMs = 0;
};

// A fact whose answer stands in its question (7×1, 1×7, 7+0, 0+7, 7−0,
// 7÷1, and the warm-up's "key:56"): its time is mostly the child's keying.
bool answerInQuestion(const QString& fact);

// The child's time for one key (a digit or Return), from right first tries:
// the quicker quarter of the answers whose answer stands in the question
// when there are at least three of them, otherwise the quickest tenth of all
// recall answers when there are at least twenty. None: not enough to tell
// yet, and the warm-up measures it.
std::optional<int> keyMs(const QList<TimedAnswer>& rightFirstTries);

// The child's limit for a fact with this answer: the base limit plus its
// keying (the answer's characters and Return at `keyMs` each).
int limitMs(int baseMs, int keyMs, const QString& answer);

// The latest right first tries' times as a fact row keeps them, newest
// first ("1820 2400 3100"), with one more put in front, at most
// kTimedRightTries kept.
QString withRightTime(const QString& latestTimes, qint64 elapsedMs);
QList<qint64> parseRightTimes(const QString& latestTimes);

// A fact's usual time: the median of its latest right first tries' times
// (the lower middle of an even count), none before its first right try.
std::optional<qint64> usualMs(const QList<qint64>& rightTimes);

// Right but slow: the usual time of the fact's latest right first tries is
// over the limit. A fact with no timed right try (its answers removed by
// the keeping choice) is not called slow: nothing says it is.
bool isSlow(const QList<qint64>& rightTimes, int limitMs);

// The warm-up that measures a child's keying when its answers cannot tell
// yet: a set of this choice whose problems are numbers to type, each
// recorded as the fact keyFact(n). Never scored, never on the page; its
// right first tries feed keyMs() alone.
inline constexpr char16_t kKeyingChoice[] = u"keying";
QString keyFact(int number);
bool isKeyingFact(const QString& fact);

// A child's pace: the base limit an adult set for it, and its keying (none
// until its answers or a warm-up tell it).
struct Pace {
    int baseMs = kDefaultBaseLimitMs;
    std::optional<int> keyMs;
    // The limit for a recall fact with this answer; none while the keying
    // is not known.
    std::optional<int> limitFor(const QString& answer) const;
};

// One of kBaseLimitSteps, or the default for anything else (a value
// written by hand into the file).
int baseLimitStep(int ms);

// A fact's state under the file's rule: the accuracy rule's, and, under the
// speed rule, a mastered recall fact whose usual time is over the child's
// limit for its answer is slow. A fact worked through keeps the accuracy
// rule's state, as does every fact while the keying is not known.
FactState fluentState(FactState accuracy, const MasteryRule& rule, const QString& fact,
                      const QString& rightAnswer, const QList<qint64>& rightTimes,
                      const Pace& pace);

} // namespace common::records
