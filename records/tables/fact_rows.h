// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a child's fact row keeps beside its counts, written by the store and
// read by the child page and the review: the latest first tries as one short
// text ("2024-05-01:1 2024-04-30:0", newest first, 1 for right), and the
// mastery rule the file holds.

#include "records/model/mastery.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace common::records {

// The latest first tries with one more put in front, at most `keep` of them.
QString withFirstTry(const QString& latest, const QDate& day, bool right, int keep);
QList<FirstTry> parseFirstTries(const QString& latest);

// The rule saved in the file; the program's own when the file has none.
MasteryRule readRule(const QSqlDatabase& db);

} // namespace common::records
