// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Opening a school's server (PostgreSQL) through a libpq service name: the
// host, database and user come from pg_service.conf, a password from
// ~/.pgpass or the school's own authentication; none is kept or printed
// here. kFailed when the name is not a service name, the server cannot be
// reached, refuses the login, or lacks the records' tables or has older
// ones, the report's problem saying which; a server of a later version is
// opened read-only.

#include "records/database/connection.h"
#include "records/model/records_types.h"

namespace common::records {

OpeningReport openServer(Connection& connection, const QString& service);

} // namespace common::records
