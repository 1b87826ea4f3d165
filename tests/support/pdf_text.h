// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a printed PDF back as text, one string per page, with pdftotext.
#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace test_support {

// pdftotext's path; empty when poppler-utils is not installed.
inline QString pdftotextPath() { return QStandardPaths::findExecutable("pdftotext"); }

// Runs `pdftotext -raw` on `file`; false when it does not finish in time.
inline bool readPdfPages(const QString& pdftotext, const QString& file, QStringList& pages)
{
    QProcess p;
    p.start(pdftotext, {"-raw", file, "-"});
    if (!p.waitForFinished(30000)) return false;
    pages = QString::fromUtf8(p.readAllStandardOutput()).split(u'\f', Qt::SkipEmptyParts);
    return true;
}

} // namespace test_support
