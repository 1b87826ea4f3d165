// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Bairo's practice of what was missed: the pairs a child missed come back,
// each among pairs it already knows, as Numira's facts do (review.h).

#include "records/reads/review.h"

namespace common::records {

// Up to `mostDue` of the child's Bairo pairs ("lcm:6,8", "gcd:12,18")
// missed at some first try and due by `today` (a local day), most overdue
// first, each followed by about three pairs the child knows (mastered at the
// end of `today`, or right at the last three first tries or more), dealt as
// amongKnown() deals them. A pair is worked out, not recalled: none is
// slow. The question is the pair as the fact names it ("6,8"), the answer
// as the drill judged it. The same seed gives the same set; empty when
// nothing is due.
QList<ReviewProblem> readPairReviewSet(const Connection& connection, qint64 child,
                                       const QDate& today, quint32 seed, int mostDue = 20);

} // namespace common::records
