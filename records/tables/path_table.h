// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A child's way through the day's practice: its school year, the day's
// length, its path (path.h) and the steps it passed, with whether its first
// days' placement still goes on. Read by the day's set and the adults'
// window; written by the adults' window (year, length, path) and by the
// drill as steps are passed.

#include "records/database/connection.h"
#include "records/model/path.h"

#include <QDate>
#include <QStringList>

#include <optional>

namespace common::records {

struct ChildPlan {
    std::optional<int> grade; // none until an adult gives it
    int dayProblems = 20;     // kAboutTenMinutes: about ten minutes
    bool placing = true;
    Path path;            // the adult's, or the default of its year
    bool ownPath = false; // an adult changed it (a row of its own)
    QStringList passed;   // in the order passed
};

// Reads through a connection of the thread it runs on; nothing after a
// failure (and no child of that id).
std::optional<ChildPlan> readChildPlan(const Connection& connection, qint64 child);

class PathTable {
public:
    explicit PathTable(Connection& connection) : m_connection(connection) {}

    // The school year, 1..6, or none. A child on its default path gets the
    // new year's default path.
    bool setGrade(qint64 child, std::optional<int> grade);
    // One of kDayProblemChoices.
    bool setDayProblems(qint64 child, int problems);
    // The path as an adult set it; the default again with resetPath.
    bool setPath(qint64 child, const Path& path);
    bool resetPath(qint64 child);
    // Steps passed on `day`, each once (a step passed before keeps its day).
    bool markPassed(qint64 child, const QStringList& steps, const QDate& day, bool byPlacement);
    bool endPlacement(qint64 child);

private:
    Connection& m_connection;
};

} // namespace common::records
