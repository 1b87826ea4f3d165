// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A child's answers for a spreadsheet: one row per answer, UTF-8 with a
// byte-order mark so that a spreadsheet on any desktop reads the Japanese
// right, times in ISO 8601 (UTC). The file is written whole or not at all.

#include <QString>

namespace common::records {

class Connection;

// The header row and one row per answer of the child, oldest first, each
// with the time limit in force at it (empty where none was: a fact worked
// through, the accuracy rule, the keying not known yet): the
// answers the file still keeps (RecordsStore::keptMonths), from a family's file
// or a school's server alike. A cell that a
// spreadsheet would take for a formula ("=", "+", "@", or "-" before
// anything but a digit) is kept as text with a leading apostrophe.
QByteArray answersCsv(const Connection& connection, qint64 child);
// Writes it to `path`; false with the reason in `error` when it could not.
bool writeAnswersCsv(const Connection& connection, qint64 child, const QString& path,
                     QString* error);

} // namespace common::records
