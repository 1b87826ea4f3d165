// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The day's practice: one set a day for each child, built from its own
// facts along its path (path.h). In order, up to the day's length: the
// missed facts that are due, then the slow ones, then two to four new facts
// of the current step, each met among known facts, and known facts for the
// rest; a procedure step (a kind worked through) gives a short set of its
// own kind instead of new and known facts. The set is drawn from the child
// and the day, so the same day gives the same set.
//
// A new child's first days place it: the plan probes ahead on its path with
// a few facts of each step, and a step whose probed facts came right and
// quick at their first meeting is passed, so that a child who knows rows
// 2-5 does not drill them for weeks.

#include "records/model/mastery.h"
#include "records/model/path.h"
#include "records/model/records_service.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace common::records {

// The day's length an adult chooses: a number of problems, or about ten
// minutes (kAboutTenMinutes), which the child's usual time per problem
// turns into a number.
inline constexpr int kDefaultDayProblems = 20;
inline constexpr int kAboutTenMinutes = 0;
inline constexpr int kDayProblemChoices[] = {kAboutTenMinutes, 10, 15, 20, 25, 30};

// How a fact the child met stands, as of the end of the day planned.
struct PlanFact {
    QString fact;                          // "mul:7x8"
    QString answer;                        // as the drill shows it
    FactState state = FactState::kNotSeen; // with speed (fluentState)
    QDate due;                             // a missed fact's day to come back
    bool missedEver = false;               // a first try missed at some time
    int seen = 0;                          // first tries
    int firstTryRight = 0;
    // How far over its limit a slow fact's usual time is (ms), for the
    // slowest first.
    qint64 overLimitMs = 0;
    // Every first try right and within the child's limit: what placement
    // takes as known at first meeting.
    bool quickAtEveryTry = false;
};

// A set of a procedure step's kind that ended: its local day and score.
struct ScoredSet {
    QString step; // the kind ("add:4"), a day set of that step counting too
    QDate day;
    int count = 0;
    int score = 0; // first tries right
};

struct PlanInput {
    qint64 child = 0;
    QDate today;
    Path path;
    QStringList passed;  // steps passed on the days before
    bool placing = true; // the child's placement has not ended yet
    int problems = kDefaultDayProblems;
    QHash<QString, PlanFact> facts; // every Numira fact the child met, by key
    QList<ScoredSet> sets;          // the procedure steps' ended sets
};

// How many facts of a step placement probes.
inline constexpr int kPlacementProbes = 3;
// New facts of a recall step a day, and the known facts met around each.
inline constexpr int kFewestNewFacts = 2;
inline constexpr int kMostNewFacts = 4;
// A procedure step is passed by two sets of it at 90 % or more at the first
// try, on two different days.
inline constexpr int kProcedurePassPercent = 90;
inline constexpr int kProcedurePassDays = 2;

// The steps the input passes now that it did not before, in path order:
// a recall step whose facts are all mastered, a procedure step with its
// scores, and while placing the steps whose probes came right and quick
// (placement stops at the first step whose probe did not).
struct Passing {
    QStringList passed;
    bool placing = false; // placement goes on after these
};
Passing stepsPassed(const PlanInput& input);

// The day's set: the same for the same input.
DaySet planDay(const PlanInput& input);

// The seed of a child's day: the same all day, another the next.
quint32 daySeed(qint64 child, const QDate& day);

// The number of problems for about ten minutes at the child's usual time
// per problem (none: the default), within the choices' bounds.
int problemsForTenMinutes(std::optional<qint64> usualMsPerProblem);

} // namespace common::records
