// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The printed report of a child's records, for a parents' evening or a
// folder: one A4 page a child with the nickname and the date at the top, the
// times-table grid with its marks and legend, the kinds table and the last
// eight weeks as bars (problems a day) and a line (first-try share a day).
// The words are the child page's (page_words.h). Where everything stands is
// computed from the page's size alone, so that any resolution gives the same
// page; the page surface draws it, on a printer, into a PDF file, or into a
// recording in tests.

#include "common/worksheet_page.h"
#include "records/reads/child_page.h"
#include "records/reads/path_page.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSize>
#include <QString>

namespace kiroku {

struct ChildReport {
    QString nickname;
    QDate date; // the day the report is made, shown at the top
    common::records::ChildPage page;
    // The day's practice: the step and the month's marks, beside the grid's
    // heading; none when the records hold no plan.
    std::optional<common::records::PathPage> path;
};

// A page is laid out as an A4 page in points (1/72 inch) scaled to fit the
// device's page, the page grown to the device's shape; every place below is
// in the device's pixels.
struct ReportLayout {
    static constexpr int kPointsWide = 595;
    static constexpr int kPointsHigh = 842;
    static constexpr int kMargin = 36;         // points on every side
    static constexpr int kTitlePoints = 16;    // the nickname
    static constexpr int kHeadingPoints = 11;  // 九九, 種類ごとの記録, この8週間
    static constexpr int kBodyPoints = 9;      // cells, legends, the date
    static constexpr int kSmallPoints = 7;     // the trend's axes
    static constexpr double kCharWidth = 1.0;  // ems taken by a full-width character
    static constexpr double kLatinWidth = 0.6; // ems at most of a half-width one

    double scale = 0; // pixels a point
    int left = 0;     // the margins
    int right = 0;
    int bottom = 0;
    int titleTop = 0;
    int gridHeadingTop = 0;
    int gridTop = 0;      // the column headers' row
    int gridCellWide = 0; // every column, the row headers' too
    int gridCellHigh = 0;
    int legendTop = 0;
    int kindsHeadingTop = 0;
    int kindsTop = 0; // the column headers' row
    int kindRowHigh = 0;
    QList<int> kindColumns; // each column's left edge, then the right edge
    int kindsShown = 0;
    int kindsLeftOff = 0; // told in a line under the table
    int trendHeadingTop = 0;
    int plotLeft = 0; // the bars' and the line's area, between the axes
    int plotRight = 0;
    int plotTop = 0;
    int plotBottom = 0;
    int trendLegendTop = 0;
};

// A child's report as of `now`, read from the records in one go.
ChildReport readReport(const common::records::Connection& connection, qint64 child,
                       const QString& nickname, const QDateTime& now);

// The layout of a page of `pageSize` for a child with `kinds` kinds
// practised. The kinds table takes the rows left between the grid and the
// trend; when they are too few, the last row says how many were left off.
ReportLayout computeReportLayout(QSize pageSize, int kinds);

// Prints the reports as one job, a page each. False when the job failed;
// the surface's errorText() tells why.
bool printReports(common::PageSurface& surface, const QList<ChildReport>& reports);

} // namespace kiroku
