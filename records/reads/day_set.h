// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The day's practice read from the records: what the planner (day_plan.h)
// needs of a child, the day's set it gives, and the days the child earned
// the day's mark (an ended set of a "today:" choice with every problem
// answered, on a local day).

#include "records/model/day_plan.h"
#include "records/model/records_service.h"

#include <QDate>

#include <optional>

namespace common::records {

class Connection;

// Nothing after a failure or for no such child.
std::optional<PlanInput> readPlanInput(const Connection& connection, qint64 child,
                                       const QDate& today);
std::optional<DaySet> readDaySet(const Connection& connection, qint64 child, const QDate& today);
std::optional<DayMarks> readDayMarks(const Connection& connection, qint64 child,
                                     const QDate& today);
// Whether the set `set` ended gave today its mark, no set having given it
// before: what the drill shows once a day.
std::optional<bool> isDaysFirstMark(const Connection& connection, qint64 child, qint64 set,
                                    const QDate& today);

} // namespace common::records
