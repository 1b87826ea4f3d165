// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a child's fact row keeps beside its counts, written by the store and
// read by the child page and the review: the latest first tries as one short
// text ("2024-05-01:1 2024-04-30:0", newest first, 1 for right), and the
// mastery rule the file holds.

#include "records/model/fluency.h"
#include "records/model/mastery.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace common::records {

// The latest first tries with one more put in front, at most `keep` of them.
QString withFirstTry(const QString& latest, const QDate& day, bool right, int keep);
QList<FirstTry> parseFirstTries(const QString& latest);

class Connection;

// The rule saved in the file; the program's own when the file has none.
MasteryRule readRule(const QSqlDatabase& db);

// A child's pace: the base limit set for it, and its keying told from the
// latest right first tries' times of its fact rows (keyMs). The default
// base and no keying when nothing can be read.
Pace readPace(const Connection& connection, qint64 child);
// The keying alone, from the same rows.
std::optional<int> readKeyMs(const Connection& connection, qint64 child);

} // namespace common::records
