#include "common/worksheet_page.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

namespace common {

WorksheetLayout ComputeLayout(QSize page, int count)
{
    WorksheetLayout l;
    l.width = page.width();
    l.height = page.height();
    l.usable = l.height - WorksheetLayout::kMargin;
    l.row = l.usable / WorksheetLayout::kRows;
    l.top = l.row / 2;
    l.pages = count > 0 ? (count + WorksheetLayout::kLinesPerPage - 1) / WorksheetLayout::kLinesPerPage : 0;
    return l;
}

LinePlace PlaceLine(const WorksheetLayout& layout, int i)
{
    const int j = (i - 1) % WorksheetLayout::kLinesPerPage + 1; // slot on its page
    const int x = i % 2 == 1 ? WorksheetLayout::kMargin : layout.width / 2;
    return {(i - 1) / WorksheetLayout::kLinesPerPage, QPoint(x, layout.row * ((j - 1) / 2 + 2))};
}

bool PrintWorksheet(PageSurface& surface, const QString& fontFamily, int points,
                    const QStringList& problemLines, const QStringList& answerLines)
{
    const int count = int(problemLines.size());
    const WorksheetLayout l = ComputeLayout(surface.pageSize(), count);
    if (l.pages == 0) return true;
    if (!surface.begin()) return false;

    const int m = WorksheetLayout::kMargin;
    bool first = true;
    for (const QStringList* lines : {&problemLines, &answerLines}) {
        for (int page = 0; page < l.pages; ++page) {
            if (!first && !surface.newPage()) {
                surface.abort();
                return false;
            }
            first = false;
            surface.setFont(fontFamily, points);
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
    return surface.end();
}

struct PrinterSurface::Impl {
    explicit Impl(QPrinter& target) : printer(target) {}
    QPrinter& printer;
    QPainter painter;
    QPoint pen;
};

PrinterSurface::PrinterSurface(QPrinter& printer)
    : d(std::make_unique<Impl>(printer))
{
}

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
    m_error = QStringLiteral("印刷を始められません（%1）。").arg(target.isEmpty() ? QStringLiteral("プリンタがありません") : target);
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

bool RecordingSurface::begin()
{
    if (m_failBegin) return false;
    ops << QStringLiteral("begin");
    pages = 1;
    return true;
}

bool RecordingSurface::newPage()
{
    ops << QStringLiteral("page");
    ++pages;
    return true;
}

void RecordingSurface::setFont(const QString& family, int points)
{
    ops << QStringLiteral("font %1 %2").arg(family).arg(points);
}

void RecordingSurface::moveTo(QPoint p) { ops << QStringLiteral("move %1 %2").arg(p.x()).arg(p.y()); }

void RecordingSurface::lineTo(QPoint p) { ops << QStringLiteral("line %1 %2").arg(p.x()).arg(p.y()); }

void RecordingSurface::textOut(QPoint p, const QString& text)
{
    ops << QStringLiteral("text %1 %2 %3").arg(p.x()).arg(p.y()).arg(text);
}

bool RecordingSurface::end()
{
    ops << QStringLiteral("end");
    ended = true;
    return true;
}

void RecordingSurface::abort()
{
    ops << QStringLiteral("abort");
    aborted = true;
}

QList<QPair<QPoint, QString>> RecordingSurface::textsOnPage(int page) const
{
    QList<QPair<QPoint, QString>> out;
    int current = -1;
    for (const QString& op : ops) {
        if (op == u"begin" || op == u"page") ++current;
        if (current != page || !op.startsWith(u"text ")) continue;
        const QString rest = op.mid(5);
        const int s1 = rest.indexOf(u' ');
        const int s2 = rest.indexOf(u' ', s1 + 1);
        out.append({QPoint(rest.left(s1).toInt(), rest.mid(s1 + 1, s2 - s1 - 1).toInt()), rest.mid(s2 + 1)});
    }
    return out;
}

} // namespace common
