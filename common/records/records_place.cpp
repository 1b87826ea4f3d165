// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/records/records_place.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>

namespace common::records {

namespace {

const QString kFolder = QStringLiteral("numirabairo");
const QString kOnKey = QStringLiteral("records/on");

QSettings settings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, kFolder,
                     QStringLiteral("records"));
}

} // namespace

QString recordsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u'/' + kFolder +
           QStringLiteral("/records.sqlite");
}

bool recordsOn() { return settings().value(kOnKey, false).toBool(); }

bool setRecordsOn(bool on)
{
    QSettings s = settings();
    s.setValue(kOnKey, on);
    s.sync();
    // Only the adult reads and writes it.
    QFile::setPermissions(s.fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return s.status() == QSettings::NoError;
}

} // namespace common::records
