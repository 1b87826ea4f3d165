// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the records window shows of one child, read from the records file or
// a school's server in one go: every fact's standing, each kind practised,
// the last eight weeks day by day, the facts missed most lately with the
// wrong answers typed, and Bairo's kinds with the near-miss hints earned.

#include "records/model/fluency.h"
#include "records/model/mastery.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace common::records {

class Connection;

struct FactStanding {
    QString fact; // "mul:7x8"
    FactState state = FactState::kNotSeen;
    int seen = 0; // first tries
    int firstTryRight = 0;
    int box = 0; // review box 1..5, 0 before the first try
    QDate due;   // when it comes back for practice
    // A recall fact's usual time (the median of its latest right first
    // tries), none for a fact worked through or never right; and the
    // child's limit for it, none while the keying is not known.
    std::optional<qint64> usualMs;
    std::optional<int> limitMs;
};

// A kind of set as chosen (numira "add:3", "table:2,7+0"; bairo "lcm:easy").
struct KindSummary {
    QString program;
    QString choice;
    int sets = 0;
    int problems = 0; // first tries
    int firstTryPercent = 0;
    qint64 medianMs = 0;     // from showing to the first Return
    QDateTime lastPractised; // UTC, the latest answer
    // The recall facts met in this kind, and those of them mastered under
    // the file's rule (under the speed rule: right and quick).
    int recallFacts = 0;
    int fluentFacts = 0;
};

struct DaySummary {
    QDate day; // local
    int problems = 0;
    int firstTryPercent = 0;
};

struct MissedFact {
    QString fact;
    int misses = 0;         // first tries missed in the window (an answer shown is a miss)
    QStringList typedWrong; // every wrong text typed at it in the window, newest first
};

// Bairo by kind and level ("lcm:easy").
struct HintSummary {
    QString choice;
    int problems = 0;
    int firstTryPercent = 0;
    int smallerMultipleHints = 0;
    int largerDivisorHints = 0;
};

struct ChildPage {
    MasteryRule rule;                   // the rule the file holds
    Pace pace;                          // the child's base limit and keying
    QHash<QString, FactStanding> facts; // every fact the child met, by key
    QList<KindSummary> kinds;           // one a program and choice, sorted by both
    QList<DaySummary> days;             // the last 56 local days, oldest first, empty days too
    QList<MissedFact> mostMissed;       // at most 10, from the last 14 local days, most first,
                                        // then the latest missed first
    QList<HintSummary> bairo;
};

// The share of the recall facts fluent, in percent (0 with none).
int fluentPercent(int fluent, int recall);

// Everything the child page shows, as of `now`; its local day is today.
ChildPage readChildPage(const Connection& connection, qint64 child, const QDateTime& now);
// The times-table facts alone ("mul:AxB", A 1..9, B 0..9), for the grid:
// those the child met. A key not in it is not seen (as the default
// FactStanding says).
QHash<QString, FactStanding> readTableFacts(const Connection& connection, qint64 child,
                                            const QDateTime& now);

} // namespace common::records
