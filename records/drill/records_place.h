// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where the records live and whether they are kept at all. The switch is a
// small settings file of its own, so that a drill with records off reads one
// file at most and writes none.

#include <QString>

namespace common::records {

// <data folder>/numirabairo/records.sqlite, shared by both drills.
QString recordsFile();
// <config folder>/numirabairo/records.ini, then the same under the system's
// configuration folders, where an administrator may roll it out.
bool recordsOn();
// False when the setting could not be written.
bool setRecordsOn(bool on);
// A school's server: the libpq service name the records are sent to, from
// the same settings ("server" under [records]); empty for a family, whose
// records stay in recordsFile() alone. With a server, the child is the
// login and the file is where answers wait until the server has them.
QString recordsServer();
bool setRecordsServer(const QString& service);

} // namespace common::records
