// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Worksheets: a problem sheet and then an answer sheet, 20 lines to a page in
// two columns under a name box. The arithmetic of the layout is pure; a page
// surface draws it on a printer (or, in tests, records it). The page surface
// is the one painter of every printout, the records' report included.

#include "common/worksheet.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QPrinter;

namespace common {

struct WorksheetLayout {
    static constexpr int kMargin = 200; // device pixels, whatever the resolution
    static constexpr int kLinesPerPage = 20;
    static constexpr int kRows = 12;     // the usable height is cut into this many rows
    static constexpr int kNameDrop = 20; // "なまえ" stands this far below the box's top line
    int width = 0;                       // page width W
    int height = 0;                      // page height P
    int usable = 0;                      // H = P - 200
    int row = 0;                         // R = H / 12
    int top = 0;                         // T = R / 2
    int pages = 0; // pages of each sheet: (count + 19) / 20, none for count <= 0
};

WorksheetLayout computeLayout(QSize page, int count);

// Where line i (1-based) of a sheet stands: odd lines at the left margin,
// even lines at mid-page, two to a row in rows 2R..11R of their page.
struct LinePlace {
    int page = 0; // 0-based page of its sheet
    QPoint at;
};
LinePlace placeLine(const WorksheetLayout& layout, int i);

// What a page is drawn with; text is placed by its top-left corner.
class PageSurface {
public:
    virtual ~PageSurface() = default;
    virtual QSize pageSize() const = 0;
    // Starts the job; false (with a reason) when the output cannot be opened.
    virtual bool begin() = 0;
    virtual bool newPage() = 0;
    virtual void setFont(const QString& family, int points) = 0;
    virtual void moveTo(QPoint p) = 0;
    virtual void lineTo(QPoint p) = 0;
    virtual void textOut(QPoint topLeft, const QString& text) = 0;
    // The width of the lines drawn from now on, in device pixels; 0 (as at
    // the start) is the thinnest line the device draws.
    virtual void setPenWidth(int width) = 0;
    // Fills a rectangle with one colour, without an outline.
    virtual void fillRect(QRect area, QRgb colour) = 0;
    // Ends the job; false when it failed.
    virtual bool end() = 0;
    // Abandons a job that failed half-way, leaving nothing that looks printed.
    virtual void abort() = 0;
    virtual QString errorText() const = 0;
};

// Draws every page of one job on a surface, from begin() to end(); false
// when the job failed, with the reason in the surface's errorText().
using PageDrawer = std::function<bool(PageSurface&)>;

// Prints several worksheets as one job, each its problem pages followed by
// its answer pages, each numbered from line 1 again. Nothing is printed when
// no sheet has lines. False when the job failed; errorText() of the surface
// tells why.
bool printWorksheets(PageSurface& surface, const QList<Worksheet>& sheets);

// Draws on a QPrinter (a real printer or a PDF file).
class PrinterSurface final : public PageSurface {
public:
    explicit PrinterSurface(QPrinter& printer);
    ~PrinterSurface() override;
    QSize pageSize() const override;
    bool begin() override;
    bool newPage() override;
    void setFont(const QString& family, int points) override;
    void moveTo(QPoint p) override;
    void lineTo(QPoint p) override;
    void textOut(QPoint topLeft, const QString& text) override;
    void setPenWidth(int width) override;
    void fillRect(QRect area, QRgb colour) override;
    bool end() override;
    void abort() override;
    QString errorText() const override { return m_error; }

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    QString m_error;
};

} // namespace common
