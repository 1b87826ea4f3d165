// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/sheet_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace common {

namespace {
// A PDF ends with its end-of-file marker; a file cut short by a full disk
// does not.
bool endsLikePdf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 16) return false;
    file.seek(std::max<qint64>(0, file.size() - 64));
    return file.readAll().contains("%%EOF");
}
} // namespace

bool writePdf(const QString& path, const PageDrawer& draw, QFileDevice::Permissions permissions,
              QString* error)
{
    const QFileInfo target(path);
    if (!target.absoluteDir().exists()) {
        *error = QStringLiteral("%1: no such folder").arg(target.absolutePath());
        return false;
    }
    QTemporaryFile partial(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                           QStringLiteral(".XXXXXX"));
    if (!partial.open()) {
        *error = QStringLiteral("%1: %2").arg(target.absolutePath(), partial.errorString());
        return false;
    }
    partial.close();

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(partial.fileName());
    {
        PrinterSurface surface(printer);
        if (!draw(surface)) {
            *error = surface.errorText();
            return false;
        }
    }
    if (!endsLikePdf(partial.fileName())) {
        *error = QStringLiteral("%1: the file could not be written whole (disk full?)")
                     .arg(target.absoluteFilePath());
        return false;
    }
    // rename() replaces an existing file in one step.
    if (std::rename(QFile::encodeName(partial.fileName()).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
        *error = QStringLiteral("%1: %2").arg(target.absoluteFilePath(),
                                              QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    partial.setAutoRemove(false);
    QFile::setPermissions(target.absoluteFilePath(), permissions);
    return true;
}

bool writeWorksheetPdf(const QString& path, const QList<Worksheet>& sheets, QString* error)
{
    return writePdf(
        path, [&](PageSurface& surface) { return printWorksheets(surface, sheets); },
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther, error);
}

} // namespace common
