// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/worksheet_page.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace common {

WorksheetLayout computeLayout(QSize page, int count)
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

LinePlace placeLine(const WorksheetLayout& layout, int i)
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
    const WorksheetLayout l = computeLayout(surface.pageSize(), count);
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
                surface.textOut(placeLine(l, i).at, lines->value(i - 1));
        }
    }
    return true;
}
} // namespace

bool printWorksheets(PageSurface& surface, const QList<Worksheet>& sheets)
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
    int penWidth = 0;
};

PrinterSurface::PrinterSurface(QPrinter& printer) : m_impl(std::make_unique<Impl>(printer)) {}

PrinterSurface::~PrinterSurface()
{
    if (m_impl->painter.isActive()) m_impl->painter.end();
}

QSize PrinterSurface::pageSize() const
{
    return {m_impl->printer.width(), m_impl->printer.height()};
}

bool PrinterSurface::begin()
{
    if (m_impl->painter.begin(&m_impl->printer)) return true;
    const QString target = m_impl->printer.outputFileName().isEmpty()
                               ? m_impl->printer.printerName()
                               : m_impl->printer.outputFileName();
    m_error = QStringLiteral("印刷を始められません（%1）。")
                  .arg(target.isEmpty() ? QStringLiteral("プリンタがありません") : target);
    return false;
}

bool PrinterSurface::newPage()
{
    if (m_impl->printer.newPage()) return true;
    m_error = QStringLiteral("次のページを印刷できません。");
    return false;
}

void PrinterSurface::setFont(const QString& family, int points)
{
    QFont font(family);
    font.setPointSize(points);
    m_impl->painter.setFont(font);
    m_impl->painter.setPen(QPen(Qt::black, m_impl->penWidth));
}

void PrinterSurface::moveTo(QPoint p) { m_impl->pen = p; }

void PrinterSurface::lineTo(QPoint p)
{
    m_impl->painter.drawLine(m_impl->pen, p);
    m_impl->pen = p;
}

void PrinterSurface::textOut(QPoint topLeft, const QString& text)
{
    const QFontMetrics metrics(m_impl->painter.font(), &m_impl->printer);
    m_impl->painter.drawText(topLeft + QPoint(0, metrics.ascent()), text);
}

void PrinterSurface::setPenWidth(int width)
{
    m_impl->penWidth = width;
    m_impl->painter.setPen(QPen(Qt::black, width));
}

void PrinterSurface::fillRect(QRect area, QRgb colour)
{
    m_impl->painter.fillRect(area, QColor(colour));
}

bool PrinterSurface::end()
{
    const bool ok = m_impl->painter.end() && m_impl->printer.printerState() != QPrinter::Error;
    if (!ok) m_error = QStringLiteral("印刷に失敗しました。");
    return ok;
}

void PrinterSurface::abort()
{
    m_impl->printer.abort();
    if (m_impl->painter.isActive()) m_impl->painter.end();
}

} // namespace common
