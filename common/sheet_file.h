// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/worksheet_page.h"

#include <QString>

namespace common {

// Writes worksheets to a PDF file with no printer and no window: the pages
// the print button makes through the print dialog's PDF printer, on A4. The
// file is written beside its place under a temporary name and renamed only
// once whole, so a failure leaves no partial file behind and an existing
// file is replaced only by a whole one. False with the reason on failure.
bool writeWorksheetPdf(const QString& path, const QList<Worksheet>& sheets, QString* error);

} // namespace common
