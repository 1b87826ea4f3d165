// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Messages for the adult that no window has shown yet, kept in the file.

#include "records/database/connection.h"

#include <QStringList>

namespace common::records {

class NoticesTable {
public:
    explicit NoticesTable(Connection& connection) : m_connection(connection) {}

    // Those not shown yet, oldest first; marked shown unless `keep` (a file
    // opened read-only).
    QStringList take(bool keep);
    bool add(const QString& text);

private:
    Connection& m_connection;
};

} // namespace common::records
