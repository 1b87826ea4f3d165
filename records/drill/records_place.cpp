// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/drill/records_place.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace common::records {

namespace {

const QString kFolder = QStringLiteral("numirabairo");
const QString kOnKey = QStringLiteral("records/on");
const QString kServerKey = QStringLiteral("records/server");

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

namespace {

bool save(const QString& key, const QVariant& value)
{
    QSettings s = settings();
    s.setValue(key, value);
    s.sync();
    // Only the adult reads and writes it, and no one else may put another in its place.
    constexpr QFileDevice::Permissions kOwner = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QFile::setPermissions(QFileInfo(s.fileName()).path(), kOwner | QFileDevice::ExeOwner);
    QFile::setPermissions(s.fileName(), kOwner);
    return s.status() == QSettings::NoError;
}

} // namespace

bool setRecordsOn(bool on) { return save(kOnKey, on); }

QString recordsServer() { return settings().value(kServerKey).toString().trimmed(); }

// Kept even when empty: a family's choice stands over a lab's rolled-out one.
bool setRecordsServer(const QString& service) { return save(kServerKey, service.trimmed()); }

} // namespace common::records
