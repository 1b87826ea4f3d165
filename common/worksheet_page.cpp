// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/worksheet_page.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace common {

WorksheetLayout ComputeLayout(QSize page, int count)
{
    WorksheetLayout l;
    l.width = page.width();
    l.height = page.height();
    l.usable = l.height - WorksheetLayout::kMargin;
    l.row = l.usable / WorksheetLayout::kRows;
    l.top = l.row / 2;
    l.pages = count > 0
                  ? (count + WorksheetLayout::kLinesPerPage - 1) / WorksheetLayout::kLinesPerPage
                  : 0;
    return l;
}

LinePlace PlaceLine(const WorksheetLayout& layout, int i)
{
    const int j = (i - 1) % WorksheetLayout::kLinesPerPage + 1; // slot on its page
    const int x = i % 2 == 1 ? WorksheetLayout::kMargin : layout.width / 2;
    return {(i - 1) / WorksheetLayout::kLinesPerPage, QPoint(x, layout.row * ((j - 1) / 2 + 2))};
}

namespace {
// Draws one worksheet's pages after those already drawn; false when a new
// page could not be started (the job is then abandoned).
bool drawWorksheet(PageSurface& surface, const Worksheet& sheet, bool& firstPage)
{
    const int count = int(sheet.problems.size());
    const WorksheetLayout l = ComputeLayout(surface.pageSize(), count);
    const int m = WorksheetLayout::kMargin;
    for (const QStringList* lines : {&sheet.problems, &sheet.answers}) {
        for (int page = 0; page < l.pages; ++page) {
            if (!firstPage && !surface.newPage()) {
                surface.abort();
                return false;
            }
            firstPage = false;
            surface.setFont(sheet.font, sheet.points);
            surface.moveTo({m, l.top});
            surface.lineTo({l.width - m, l.top});
            surface.lineTo({l.width - m, l.top + l.row});
            surface.lineTo({m, l.top + l.row});
            surface.lineTo({m, l.top});
            surface.textOut({l.width / 2, l.top + WorksheetLayout::kNameDrop},
                            QStringLiteral("なまえ"));
            for (int i = page * WorksheetLayout::kLinesPerPage + 1;
                 i <= std::min(count, (page + 1) * WorksheetLayout::kLinesPerPage); ++i)
                surface.textOut(PlaceLine(l, i).at, lines->value(i - 1));
        }
    }
    return true;
}
} // namespace

bool PrintWorksheets(PageSurface& surface, const QList<Worksheet>& sheets)
{
    const bool anyLines = std::any_of(sheets.begin(), sheets.end(),
                                      [](const Worksheet& w) { return !w.problems.isEmpty(); });
    if (!anyLines) return true;
    if (!surface.begin()) return false;
    bool firstPage = true;
    for (const Worksheet& sheet : sheets)
        if (!drawWorksheet(surface, sheet, firstPage)) return false;
    return surface.end();
}

struct PrinterSurface::Impl {
    explicit Impl(QPrinter& target) : printer(target) {}
    QPrinter& printer;
    QPainter painter;
    QPoint pen;
};

PrinterSurface::PrinterSurface(QPrinter& printer) : d(std::make_unique<Impl>(printer)) {}

PrinterSurface::~PrinterSurface()
{
    if (d->painter.isActive()) d->painter.end();
}

QSize PrinterSurface::pageSize() const { return {d->printer.width(), d->printer.height()}; }

bool PrinterSurface::begin()
{
    if (d->painter.begin(&d->printer)) return true;
    const QString target = d->printer.outputFileName().isEmpty() ? d->printer.printerName()
                                                                 : d->printer.outputFileName();
    m_error = QStringLiteral("印刷を始められません（%1）。")
                  .arg(target.isEmpty() ? QStringLiteral("プリンタがありません") : target);
    return false;
}

bool PrinterSurface::newPage()
{
    if (d->printer.newPage()) return true;
    m_error = QStringLiteral("次のページを印刷できません。");
    return false;
}

void PrinterSurface::setFont(const QString& family, int points)
{
    QFont font(family);
    font.setPointSize(points);
    d->painter.setFont(font);
    d->painter.setPen(QPen(Qt::black, 0));
}

void PrinterSurface::moveTo(QPoint p) { d->pen = p; }

void PrinterSurface::lineTo(QPoint p)
{
    d->painter.drawLine(d->pen, p);
    d->pen = p;
}

void PrinterSurface::textOut(QPoint topLeft, const QString& text)
{
    const QFontMetrics metrics(d->painter.font(), &d->printer);
    d->painter.drawText(topLeft + QPoint(0, metrics.ascent()), text);
}

bool PrinterSurface::end()
{
    const bool ok = d->painter.end() && d->printer.printerState() != QPrinter::Error;
    if (!ok) m_error = QStringLiteral("印刷に失敗しました。");
    return ok;
}

void PrinterSurface::abort()
{
    d->printer.abort();
    if (d->painter.isActive()) d->painter.end();
}

} // namespace common
