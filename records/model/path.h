// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A child's path through Numira: an ordered list of steps, each a kind of
// set, a row of the times table or the division facts of a row. The path
// starts where the child's school year starts and follows the order Japanese
// schools teach; an adult may reorder it, skip steps and pin one as the
// day's step. The day's practice (day_plan.h) works on the first step not
// yet passed.
//
// Step keys:
//   "add:3"      a Numira kind, as its choice key (category and number)
//   "table:7"    the times-table row 7 (7x1 .. 7x9)
//   "divrow:7"   the division facts of row 7 (7÷7 .. 63÷7)

#include "records/model/records_service.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace common::records {

// School years the default path knows: 1 to 6 (a sixth-year child starts
// where the fifth year does, as nothing on the path is later).
inline constexpr int kFirstGrade = 1;
inline constexpr int kLastGrade = 6;

struct PathStep {
    QString key;
    bool skipped = false; // left out by an adult, or before the child's year
    bool operator==(const PathStep&) const = default;
};

struct Path {
    QList<PathStep> steps;
    QString pinned; // a step key an adult pinned as the day's step; empty: none
    bool operator==(const Path&) const = default;
};

// Every step Numira has, in teaching order (the school years of the
// national curriculum; the table rows as classrooms take them: 5, 2, 3, 4,
// 6, 7, 8, 9, 1), each once.
QStringList allSteps();
// The school year a step is taught in (1..5); 0 for a key that is no step.
int gradeOfStep(const QString& key);
bool isStep(const QString& key);
// A step whose facts are known by heart (the table rows, the division rows,
// the kinds of addition and subtraction within 20, the division facts):
// passed when its facts are known. The others are worked through
// (procedure steps), passed by their sets' scores.
bool isRecallStep(const QString& key);

// The path of a child in this school year (grade outside 1..6, or none:
// the first year): every step in teaching order, those of earlier years
// skipped.
Path defaultPath(std::optional<int> grade);

// The path as the records keep it, one text: the keys in order, a skipped
// one with a leading '-' ("-add:0 table:5 table:2"). parsePath takes what
// it knows and adds, at the end, any step it does not hold (a later version
// added it), so a path always holds every step once.
QString pathText(const Path& path);
Path parsePath(const QString& text, const QString& pinned = {});

// The step a child works on: the pinned one when it is on the path and not
// skipped; otherwise the first step neither skipped nor passed. Nothing when
// every step is passed or skipped.
std::optional<QString> currentStep(const Path& path, const QStringList& passed);

// The facts of a recall step as the drill asks them, in a fixed order
// (question and answer as Numira shows and judges them, `due` false);
// empty for a procedure step.
QList<ReviewProblem> stepFacts(const QString& key);

} // namespace common::records
