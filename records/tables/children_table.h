// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The children, by nickname; a school's pupil also by its login.

#include "records/database/connection.h"
#include "records/model/records_types.h"

#include <QList>

#include <optional>

namespace common::records {

class ChildrenTable {
public:
    explicit ChildrenTable(Connection& connection) : m_connection(connection) {}

    QList<Child> all() const;
    // Adds or renames a child: nothing, or why not, for the adult (the
    // nickname rule, a duplicate, or a failed write).
    std::optional<QString> add(const QString& nickname, qint64* id);
    std::optional<QString> rename(qint64 id, const QString& nickname);
    // Deletes the child with every row of its own, and leaves nothing of it
    // readable beside the database.
    bool remove(qint64 id);
    // The child that plays as `login`, added when missing; on a server the
    // role connected, whatever `login` says.
    std::optional<qint64> ofLogin(const QString& login);
    // The base limit of the child's recall facts, one of kBaseLimitSteps.
    bool setBaseLimit(qint64 id, int ms);

private:
    Connection& m_connection;
};

} // namespace common::records
