// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Practice of what was missed (にがて): the child's facts that are due again,
// each among facts it already knows, so that a weak child still meets success.

#include "records/model/records_service.h"

#include <QDate>
#include <QList>
#include <QString>

namespace common::records {

class Connection;

// One problem of the set (the drills' own type, so that a set read here is
// drilled as it is).
using ReviewProblem = common::ReviewProblem;

// Up to `mostDue` of the child's Numira facts missed at some first try and
// due by `today` (a local day), most overdue first, each followed by about
// three facts the child knows (mastered at the end of `today`, or right at
// the last three first tries or more). The known facts are drawn from `seed`
// without repeats and dealt to the due ones in turn, so that with fewer than
// three for each, each due fact has as many as the others, give or take one;
// no fact comes twice. The same seed gives the same set. Empty when nothing
// is due.
QList<ReviewProblem> readReviewSet(const Connection& connection, qint64 child, const QDate& today,
                                   quint32 seed, int mostDue = 20);

// The due problems in order, each followed by known ones drawn from `seed`
// without repeats and dealt in turn, about three each (readReviewSet).
// Empty when nothing is due.
QList<ReviewProblem> amongKnown(const QList<ReviewProblem>& due, QList<ReviewProblem> known,
                                quint32 seed);

} // namespace common::records
