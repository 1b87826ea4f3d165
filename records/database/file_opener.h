// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Opening a family's records file: its folder made 0700 and the file 0600,
// the file checked, a damaged or foreign one moved aside for a fresh one,
// an older one brought up to date through the migrations, one of a newer
// version opened read-only.

#include "records/database/connection.h"
#include "records/model/records_types.h"

namespace common::records {

class FileOpener {
public:
    explicit FileOpener(Connection& connection) : m_connection(connection) {}
    OpeningReport open(const QString& file);

private:
    OpeningReport checkAndMigrate(const QString& file);
    OpeningReport moveAside(const QString& file, const QString& why);
    bool configure();
    bool migrate(int from);
    // kFailed (or `opening`), the connection's error as the detail.
    OpeningReport report(Opening opening = Opening::kFailed) const;

    Connection& m_connection;
};

} // namespace common::records
