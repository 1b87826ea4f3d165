// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the parent's page shows of a child's way through the day's practice:
// the step it works on, the steps it passed with the day each was passed
// and whether its first days' placement passed it, and the days it earned
// the day's mark this month.

#include "records/model/records_service.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

namespace common::records {

class Connection;

struct StepPassed {
    QString step;
    QDate day; // local
    bool byPlacement = false;
    bool operator==(const StepPassed&) const = default;
};

struct PathPage {
    std::optional<QString> current; // none when every step is passed or skipped
    bool placing = false;
    QList<StepPassed> passed; // in the order passed
    DayMarks marks;
};

// Nothing after a failure or for no such child.
std::optional<PathPage> readPathPage(const Connection& connection, qint64 child,
                                     const QDate& today);

} // namespace common::records
