// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/print_flow.h"

#include "common/dialogs.h"

#include <QLineEdit>
#include <QPalette>
#include <QPrinter>

namespace common {

PageSurfaceFactory printerPages()
{
    return [](QPrinter& printer) -> std::unique_ptr<PageSurface> {
        return std::make_unique<PrinterSurface>(printer);
    };
}

PrintFlow::PrintFlow(Dialogs& dialogs, PageSurfaceFactory pages)
    : m_dialogs(dialogs), m_pages(std::move(pages))
{
}

PrintFlow::~PrintFlow() = default;

PrintFlow::Outcome PrintFlow::run(QWidget* parent, QLineEdit* messageLine, bool countFixed,
                                  const PrintTexts& texts,
                                  const std::function<Worksheet()>& makeSheet)
{
    // Closing the box otherwise than with OK goes on to the question.
    if (!countFixed && m_dialogs.information(parent, texts.countNotFixed) == Dialogs::Answer::kOk)
        return Outcome::kDeclined;
    return run(parent, messageLine, texts,
               [&](PageSurface& surface) { return printWorksheets(surface, {makeSheet()}); });
}

PrintFlow::Outcome PrintFlow::run(QWidget* parent, QLineEdit* messageLine, const PrintTexts& texts,
                                  const PageDrawer& draw)
{
    if (m_dialogs.confirm(parent, texts.question) != Dialogs::Answer::kYes)
        return Outcome::kDeclined;

    const QString message = messageLine->text();
    const QPalette colours = messageLine->palette();
    messageLine->setText(texts.printing);
    messageLine->repaint();
    const auto restore = [&] {
        messageLine->setPalette(colours);
        messageLine->setText(message);
    };

    if (!m_printer) m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!m_dialogs.printerSetup(parent, *m_printer)) {
        restore();
        return Outcome::kCancelled;
    }
    const auto surface = m_pages(*m_printer);
    const bool printed = draw(*surface);
    if (!printed) m_dialogs.warning(parent, surface->errorText());
    restore();
    return printed ? Outcome::kPrinted : Outcome::kFailed;
}

} // namespace common
