// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace common {

// Where the pictures, sounds and help are looked for, by bare file name: the
// working directory first, then beside the executable, then the installed
// data folder next to it (../share/<program>), then <program> in each XDG
// data folder.
class AssetLocator {
public:
    AssetLocator();
    explicit AssetLocator(QStringList folders) : m_folders(std::move(folders)) {}
    // Full path of the first readable file of that name, or empty.
    QString find(const QString& name) const;

private:
    QStringList m_folders; // empty entry = the working directory at the time of the call
};

} // namespace common
