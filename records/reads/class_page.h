// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a teacher sees of a whole class at once: for every child and every
// kind of set anyone practised, the share right at the first try and when
// the child last practised it; the step of the day's practice it works on
// and the days it earned the day's mark this week. Read from the sets' own
// counts in one query, on the records file and a school's server alike.

#include "records/reads/child_page.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

namespace common::records {

class Connection;

struct ClassKind {
    QString program;
    QString choice;
    bool operator==(const ClassKind&) const = default;
};

struct ClassRow {
    qint64 child = 0;
    QString nickname;
    // One a kind, in the page's order; `sets` 0 where the child practised
    // none of that kind (its medianMs is not read here and stays 0).
    QList<KindSummary> kinds;
    // The child's recall facts met, and those of them mastered under the
    // file's rule (under the speed rule: right and quick).
    int recallFacts = 0;
    int fluentFacts = 0;
    // The step it works on (path.h: its class's path on a school's server
    // when the class set one, otherwise its own or its year's); none when
    // every step is passed or skipped.
    std::optional<QString> step;
    // The local days from this week's Monday to today with the day's mark.
    int markedDaysThisWeek = 0;
};

struct ClassPage {
    QList<ClassKind> kinds; // every kind practised, sorted by program, then choice
    QList<ClassRow> rows;   // every child, in the store's order, also those with no sets
};

// `today`: the local day the week is read up to.
ClassPage readClassPage(const Connection& connection, const QDate& today = QDate::currentDate());

} // namespace common::records
