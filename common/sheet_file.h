// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/worksheet_page.h"

#include <QFileDevice>
#include <QString>

namespace common {

// Writes the pages `draw` makes to a PDF file on A4, with no printer and no
// window, as the print dialog's PDF printer would. The file is written beside
// its place under a temporary name and renamed only once whole, so a failure
// leaves no partial file behind and an existing file is replaced only by a
// whole one; the whole file then gets `permissions`. False with the reason
// on failure.
bool writePdf(const QString& path, const PageDrawer& draw, QFileDevice::Permissions permissions,
              QString* error);

// Worksheets so written, readable by all: the pages the print button makes.
bool writeWorksheetPdf(const QString& path, const QList<Worksheet>& sheets, QString* error);

} // namespace common
