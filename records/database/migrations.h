// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The records' schema as numbered migrations, for the records file (SQLite)
// and a school's server (PostgreSQL). Both run the same steps; the few words
// that differ between the two are translated by the dialect (dialect.h).

#include "records/database/dialect.h"

#include <QString>
#include <QStringList>

#include <span>

namespace common::records {

// One step of the schema: what it makes, on every database, and what it
// fills in from the rows an older records file already held. A database
// made at a later version never held such rows, so a server runs no fill.
// `server`: what a school's server alone runs at this step, after the
// schema, one statement an entry (a function's body holds semicolons). It
// also brings up a server made before the step, and so takes the rows such
// a server holds as they are.
// `file`: what the records file alone runs at this step, after its schema
// and fill, one statement an entry (a trigger's body holds semicolons); a
// new file runs it too.
struct Migration {
    const char* schema = nullptr;
    const char* fill = nullptr;
    std::span<const char* const> server = {};
    std::span<const char* const> file = {};
};

std::span<const Migration> migrations();
// The schema version this program writes (a file's PRAGMA user_version, a
// server's records_version row).
int schemaVersion();

// The statements of a migration's text, in order.
QStringList statementsOf(const char* text);

// One migration's statements for a school's server: its schema for
// PostgreSQL, its server statements, then the version row one up.
QStringList serverStatements(const Migration& migration);

// Everything a school's server needs, in order: the version table, every
// migration's server statements (above); then what only a server has: the
// groups (pupils, teachers and head teachers), each child's login as its
// own database role, and row-level security: a pupil reads and writes only
// its own rows, a teacher reads the pupils of the classes it is in, a head
// teacher every pupil, and only the owner of the tables changes them.
QStringList serverSchema();

// The groups a school's roles join.
inline constexpr char kPupilsGroup[] = "numirabairo_pupils";
inline constexpr char kTeachersGroup[] = "numirabairo_teachers";
inline constexpr char kHeadsGroup[] = "numirabairo_heads";
// A class is a group role of this prefix, registered in the classes table;
// its pupils and its teachers are its members.
inline constexpr char kClassPrefix[] = "numirabairo_class_";

} // namespace common::records
