// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How long the answers are kept: a choice held in the records; the facts and
// sets keep their counts whatever it is.

#include <QDateTime>
#include <QList>

namespace common::records {

// How many months of answers the file keeps; kKeepAll keeps every one.
// Fewer than three would cut into the child page's eight weeks.
inline constexpr int kKeepAll = 0;
// The choices offered: every answer, or 3, 6, 12 or 24 months.
const QList<int>& keepingChoices();
// Where the answers kept for `months` begin: local midnight `months`
// months before `today`.
QDateTime keepingCutOff(int months, const QDate& today);

} // namespace common::records
