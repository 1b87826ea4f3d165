// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/asset_locator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace common {

AssetLocator::AssetLocator()
{
    m_folders << QString();
    const QString appDir = QCoreApplication::applicationDirPath();
    const QString program = QCoreApplication::applicationName().toLower();
    if (!appDir.isEmpty()) {
        m_folders << appDir;
        m_folders << QDir(appDir).filePath("../share/" + program);
    }
    // Then <data dir>/<program> of XDG_DATA_HOME and XDG_DATA_DIRS, so that an
    // installed program finds its files wherever it was started from.
    if (!program.isEmpty())
        m_folders << QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, program,
                                               QStandardPaths::LocateDirectory);
}

QString AssetLocator::find(const QString& name) const
{
    for (const QString& folder : m_folders) {
        const QString path =
            folder.isEmpty() ? QDir::current().filePath(name) : QDir(folder).filePath(name);
        const QFileInfo info(path);
        if (info.isFile() && info.isReadable()) return info.absoluteFilePath();
    }
    return {};
}

} // namespace common
