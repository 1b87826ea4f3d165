// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How long the answers are kept, and removing those the choice no longer
// keeps. The facts and sets keep what they say: an answer is read for
// nothing else once it is written.

#include "records/database/connection.h"

#include <QDateTime>

#include <optional>

namespace common::records {

class KeepingTable {
public:
    explicit KeepingTable(Connection& connection) : m_connection(connection) {}

    // The months kept (kKeepAll when every one, or unreadable), and a new
    // choice, one of keepingChoices(). Setting it removes nothing.
    int months();
    bool setMonths(int months);
    // The answers given before `cutOff`: how many there are; and removing
    // them, a few thousand to a transaction of its own so that a drill
    // writing meanwhile waits only moments, then forgetting them beside the
    // database. How many went, or nothing after a failure (what went before
    // it stays gone).
    std::optional<qint64> countBefore(const QDateTime& cutOff);
    std::optional<qint64> removeBefore(const QDateTime& cutOff);
    // What the choice no longer keeps, removed at most once a local day for
    // all programs sharing the records (the day is kept with them). 0 when
    // nothing was due.
    std::optional<qint64> keepToSetting(const QDate& today);

private:
    Connection& m_connection;
};

} // namespace common::records
