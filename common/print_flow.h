// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/worksheet_page.h"

#include <QString>

#include <functional>
#include <memory>

class QLineEdit;
class QPrinter;
class QWidget;

namespace common {

class Dialogs;

// What the print button says, in each program's own words.
struct PrintTexts {
    QString countNotFixed; // information box when no number of problems is fixed
                           // (worksheets only)
    QString question;      // the Yes/No question before printing
    QString printing;      // the message line while the sheet is printed
};

// What a worksheet is drawn on: the chosen printer, or a recording in tests.
using PageSurfaceFactory = std::function<std::unique_ptr<PageSurface>(QPrinter&)>;
PageSurfaceFactory printerPages();

// The print button of both drills. With no number fixed, an information box
// says what the button is for, and its OK ends there; then a Yes/No question;
// then the message line says the sheet is printing, the print dialog is shown
// (Cancel prints nothing) and the worksheet, made only now, is printed as one
// job. A failed job is reported in a warning box. The message line gets its
// text and colours back in every case.
class PrintFlow {
public:
    enum class Outcome { kDeclined, kCancelled, kPrinted, kFailed };

    explicit PrintFlow(Dialogs& dialogs, PageSurfaceFactory pages = printerPages());
    ~PrintFlow();

    Outcome run(QWidget* parent, QLineEdit* messageLine, bool countFixed, const PrintTexts& texts,
                const std::function<Worksheet()>& makeSheet);
    // Any other printout, through the same question, message line, print
    // dialog and failure box: `draw` makes the job's pages only once the
    // print dialog is confirmed.
    Outcome run(QWidget* parent, QLineEdit* messageLine, const PrintTexts& texts,
                const PageDrawer& draw);

private:
    Dialogs& m_dialogs;
    PageSurfaceFactory m_pages;
    std::unique_ptr<QPrinter> m_printer; // made at the first print: it is slow to set up
};

} // namespace common
