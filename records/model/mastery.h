// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How a fact stands for a child, and when it comes back for practice. The
// rule is written into the records file when the file is made, so that a
// later change of rule does not rewrite what a parent saw before; these are
// the rules, the file says which one holds.

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

namespace common::records {

enum class FactState {
    kNotSeen,
    kLearning,
    kRecentlyMissed, // missed at the first try within the last days of the rule
                     // (see factState for a mastered fact)
    kMastered,
    kSlow, // the accuracy rule holds, but its right first tries are over the
           // child's time limit (the speed rule, recall facts alone)
};

struct MasteryRule {
    int lastAnswers = 10;     // the latest first tries looked at
    int rightNeeded = 9;      // how many of them right
    int daysNeeded = 3;       // spread over at least this many different days
    int missedWithinDays = 7; // a first-try miss this recent: recently missed
    // The speed rule: a recall fact is mastered only when it is quick too
    // (fluency.h). A file made before it holds the accuracy rule alone until
    // an adult adopts it; a new file, and the program's own, hold it.
    bool timed = true;
    bool operator==(const MasteryRule&) const = default;
};

// One first try at a fact: its local day and whether it was right (typed
// right with the answer not shown).
struct FirstTry {
    QDate day;
    bool right = false;
};

// The state of a fact from its latest first tries, newest first (at most
// rule.lastAnswers of them are kept), and the time of its latest first-try
// miss (invalid: none). Mastered: at least rule.rightNeeded of the last
// rule.lastAnswers first tries right, on at least rule.daysNeeded different
// days; fewer first tries are never mastered. Recently missed: a first-try
// miss less than rule.missedWithinDays × 24 hours before `now`, unless the
// fact is mastered and the miss is not its latest first try (the rule allows
// one miss among the ten; a child right again since sees it mastered).
// Otherwise learning once seen. Pass `now` in UTC when calling for many
// facts: a local time is converted at every call.
FactState factState(const QList<FirstTry>& latest, const QDateTime& lastMissed,
                    const MasteryRule& rule, const QDateTime& now);

// Review boxes 1..5: a first-try miss sends a fact to box 1, a first-try
// right moves it up one (a fact seen first enters at box 1 and moves up at
// once when right). Box n is due again 1, 2, 4, 8, 16 days after its answer.
// Box 0 is a fact not yet seen; a box beyond 5 stays at 5.
int nextBox(int box, bool rightFirst);
QDate dueDay(int box, const QDate& answered);

// The short word shown beside a state, so that the grid reads without
// colour too: "できた", "ゆっくり", "れんしゅう中", "にがて", "まだ".
QString stateWord(FactState state);

} // namespace common::records
