// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the records hold of a child, and how an opening of them went.

#include <QString>

namespace common::records {

struct Child {
    qint64 id = 0;
    QString nickname;
    bool operator==(const Child&) const = default;
};

// How an opening went.
enum class Opening {
    kOpened,     // ready for reading and writing
    kMovedAside, // the file was damaged or not ours: kept under a new name, a fresh one started
    kReadOnly,   // made by a newer version: read, never written or downgraded
    kFailed,     // no file to use (an unwritable folder, a full disk)
};

// Why a school's server could not be used.
enum class ServerProblem { kNone, kName, kUnreachable, kRefused, kNoTables, kOlderTables };

// What happened at an opening, as one value: how it went, where a damaged
// file went, why a server could not be used, and the error in one line.
struct OpeningReport {
    Opening opening = Opening::kFailed;
    QString movedTo; // after kMovedAside
    QString service; // a server's service name
    ServerProblem problem = ServerProblem::kNone;
    QString detail; // the error, or why the file was moved aside
};

} // namespace common::records
