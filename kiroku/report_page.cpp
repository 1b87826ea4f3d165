// SPDX-License-Identifier: GPL-3.0-or-later
#include "kiroku/report_page.h"

#include "kiroku/page_words.h"

#include <algorithm>
#include <cmath>

namespace kiroku {

namespace records = common::records;
using common::PageSurface;

namespace {

// A gothic of fixed pitch: a half-width character is half an em, which the
// widths reckoned below rely on.
constexpr char16_t kFamily[] = u"ＭＳ ゴシック";
constexpr QRgb kBarColour = 0xa0a0a0;
constexpr QRgb kGuideColour = 0xd0d0d0;
constexpr QRgb kBlack = 0x000000;

// Heights in points of the parts, top to bottom.
constexpr double kTitleHigh = 30;
constexpr double kHeadingHigh = 20;
constexpr double kGridRowHigh = 17;
constexpr double kGridCellWide = 40;
constexpr double kLegendHigh = 22;
constexpr double kKindRowHigh = 15;
constexpr double kTrendGap = 10;
constexpr double kPlotHigh = 150;
constexpr double kTickHigh = 14;
constexpr double kTrendLegendHigh = 16;
constexpr double kAxisLabelWide = 30;
// The kinds table's columns, as shares of the width.
constexpr double kKindShares[] = {0.25, 0.09, 0.09, 0.12, 0.16, 0.12, 0.17};

int pixels(const ReportLayout& l, double points) { return int(std::lround(points * l.scale)); }

// The width of a text in pixels, reckoned high for a proportional font.
int textWide(const ReportLayout& l, const QString& text, int points)
{
    double ems = 0;
    for (const QChar c : text)
        ems += c.unicode() < 0x2000 ? ReportLayout::kLatinWidth : ReportLayout::kCharWidth;
    return int(std::ceil(ems * points * l.scale));
}

// The text cut with "…" so that it takes at most `wide` pixels.
QString fitText(const ReportLayout& l, QString text, int wide, int points)
{
    if (textWide(l, text, points) <= wide) return text;
    while (!text.isEmpty() && textWide(l, text + u'…', points) > wide) text.chop(1);
    return text + u'…';
}

// The top of a line of text of `points` set in the middle of a row.
int textInRow(const ReportLayout& l, int rowTop, double rowHigh, int points)
{
    return rowTop + pixels(l, (rowHigh - points * 1.3) / 2);
}

void rectangle(PageSurface& s, QRect r)
{
    s.moveTo(r.topLeft());
    s.lineTo({r.right(), r.top()});
    s.lineTo({r.right(), r.bottom()});
    s.lineTo({r.left(), r.bottom()});
    s.lineTo(r.topLeft());
}

void line(PageSurface& s, QPoint from, QPoint to)
{
    s.moveTo(from);
    s.lineTo(to);
}

void heading(PageSurface& s, const ReportLayout& l, int top, QStringView text)
{
    s.setFont(QString::fromUtf16(kFamily), ReportLayout::kHeadingPoints);
    s.textOut({l.left, top}, text.toString());
    s.setFont(QString::fromUtf16(kFamily), ReportLayout::kBodyPoints);
}

void drawTitle(PageSurface& s, const ReportLayout& l, const ChildReport& report)
{
    const int half = (l.right - l.left) / 2;
    s.setFont(QString::fromUtf16(kFamily), ReportLayout::kTitlePoints);
    s.textOut({l.left, l.titleTop}, fitText(l, report.nickname, half, ReportLayout::kTitlePoints));
    s.setFont(QString::fromUtf16(kFamily), ReportLayout::kBodyPoints);
    s.textOut({l.left + half, l.titleTop + pixels(l, 8)},
              QStringLiteral("学習の記録　") + report.date.toString(u"yyyy年M月d日"));
    line(s, {l.left, l.titleTop + pixels(l, 24)}, {l.right, l.titleTop + pixels(l, 24)});
}

// The grid as the screen shows it: a mark and the product in each cell on
// the state's colour, row and column headers, and the legend under it.
void drawGrid(PageSurface& s, const ReportLayout& l,
              const QHash<QString, records::FactStanding>& facts)
{
    heading(s, l, l.gridHeadingTop, kGridHeading);
    constexpr int kBody = ReportLayout::kBodyPoints;
    const int first = gridFirstColumn(facts);
    const int wide = l.gridCellWide, high = l.gridCellHigh;
    const auto cellText = [&](int row, int column, const QString& text) {
        const int x = l.left + column * wide, y = l.gridTop + row * high;
        s.textOut({x + std::max(0, (wide - textWide(l, text, kBody)) / 2),
                   textInRow(l, y, kGridRowHigh, kBody)},
                  text);
    };
    for (int b = first; b <= 9; ++b) cellText(0, b - first + 1, gridColumnHeader(b));
    for (int a = 1; a <= 9; ++a) {
        cellText(a, 0, gridRowHeader(a));
        for (int b = first; b <= 9; ++b) {
            const records::FactState state = gridStanding(facts, a, b).state;
            s.fillRect(QRect(l.left + (b - first + 1) * wide, l.gridTop + a * high, wide, high),
                       lookOf(state).colour);
            cellText(a, b - first + 1, gridCellText(a, b, state));
        }
    }
    const int columns = 11 - first;
    for (int r = 0; r <= 10; ++r)
        line(s, {l.left, l.gridTop + r * high}, {l.left + columns * wide, l.gridTop + r * high});
    for (int c = 0; c <= columns; ++c)
        line(s, {l.left + c * wide, l.gridTop}, {l.left + c * wide, l.gridTop + 10 * high});

    const int step = (l.right - l.left) / int(std::size(kStateLooks));
    for (int i = 0; i < int(std::size(kStateLooks)); ++i) {
        const int x = l.left + i * step;
        const QRect swatch(x, l.legendTop + pixels(l, 4), pixels(l, 14), pixels(l, 10));
        s.fillRect(swatch, kStateLooks[i].colour);
        rectangle(s, swatch);
        s.textOut({x + pixels(l, 18), l.legendTop + pixels(l, 2)}, legendText(kStateLooks[i]));
    }
}

// The kinds table with the screen's columns; the kinds the page has no room
// for are counted in a line under it.
void drawKinds(PageSurface& s, const ReportLayout& l, const QList<records::KindSummary>& kinds)
{
    heading(s, l, l.kindsHeadingTop, kKindsHeading);
    constexpr int kBody = ReportLayout::kBodyPoints;
    const int pad = pixels(l, 3);
    const auto row = [&](int r, const QStringList& cells) {
        const int top = textInRow(l, l.kindsTop + r * l.kindRowHigh, kKindRowHigh, kBody);
        for (int c = 0; c < cells.size() && c + 1 < l.kindColumns.size(); ++c) {
            const int wide = l.kindColumns[c + 1] - l.kindColumns[c] - 2 * pad;
            s.textOut({l.kindColumns[c] + pad, top}, fitText(l, cells[c], wide, kBody));
        }
    };
    row(0, kindHeaders());
    for (int r = 0; r < l.kindsShown; ++r) row(r + 1, kindCells(kinds[r]));
    const int below = l.kindsTop + (l.kindsShown + 1) * l.kindRowHigh;
    for (const int y : {l.kindsTop, l.kindsTop + l.kindRowHigh, below})
        line(s, {l.left, y}, {l.right, y});
    if (l.kindsLeftOff > 0)
        s.textOut({l.left + pad, textInRow(l, below, kKindRowHigh, kBody)},
                  QStringLiteral("ほか%1種類は、この紙に入りきらないので省きました。")
                      .arg(l.kindsLeftOff));
}

// The smallest of 10, 20, 50, 100, 200, … that is at least `most`.
int axisTop(int most)
{
    for (int top = 10;; top *= 10)
        for (const int step : {1, 2, 5})
            if (top * step >= most) return top * step;
}

// Problems a day as bars on the left axis, the first-try share a day as a
// line on the right axis (0 to 100%), joining the days practised as the
// screen's chart does; every other week's first day under the bars.
void drawTrend(PageSurface& s, const ReportLayout& l, const QList<records::DaySummary>& days)
{
    heading(s, l, l.trendHeadingTop, kTrendHeading);
    int most = 0;
    for (const records::DaySummary& d : days) most = std::max(most, d.problems);
    const int top = axisTop(most);
    const int plotHigh = l.plotBottom - l.plotTop;
    const double slot = double(l.plotRight - l.plotLeft) / std::max<qsizetype>(days.size(), 1);
    const auto centre = [&](int i) { return l.plotLeft + int((i + 0.5) * slot); };

    constexpr int kSmall = ReportLayout::kSmallPoints;
    s.setFont(QString::fromUtf16(kFamily), kSmall);
    const int gap = pixels(l, 3), halfLine = pixels(l, kSmall * 0.65);
    for (int k = 0; k <= 2; ++k) {
        const int y = l.plotBottom - plotHigh * k / 2;
        if (k > 0)
            s.fillRect(QRect(l.plotLeft, y, l.plotRight - l.plotLeft, std::max(1, pixels(l, 0.5))),
                       kGuideColour);
        const QString count = QString::number(top * k / 2);
        s.textOut({l.plotLeft - gap - textWide(l, count, kSmall), y - halfLine}, count);
        s.textOut({l.plotRight + gap, y - halfLine}, QStringLiteral("%1%").arg(50 * k));
    }
    for (int i = 0; i < days.size(); ++i) {
        const int high = int(std::lround(double(days[i].problems) * plotHigh / top));
        if (high > 0)
            s.fillRect(QRect(l.plotLeft + int((i + 0.1) * slot), l.plotBottom - high,
                             std::max(1, int(0.8 * slot)), high),
                       kBarColour);
    }
    for (int i = 0; i < days.size(); i += 14) {
        const QString tick = dayTick(days[i].day);
        line(s, {centre(i), l.plotBottom}, {centre(i), l.plotBottom + gap});
        s.textOut({centre(i) - textWide(l, tick, kSmall) / 2, l.plotBottom + gap}, tick);
    }
    line(s, {l.plotLeft, l.plotTop}, {l.plotLeft, l.plotBottom});
    line(s, {l.plotLeft, l.plotBottom}, {l.plotRight, l.plotBottom});
    line(s, {l.plotRight, l.plotBottom}, {l.plotRight, l.plotTop});

    QList<QPoint> shares;
    for (int i = 0; i < days.size(); ++i)
        if (days[i].problems > 0)
            shares << QPoint(centre(i), l.plotBottom - plotHigh * days[i].firstTryPercent / 100);
    const int dot = pixels(l, 3);
    s.setPenWidth(pixels(l, 1.5));
    for (int i = 0; i < shares.size(); ++i) {
        if (i == 0)
            s.moveTo(shares[i]);
        else
            s.lineTo(shares[i]);
    }
    s.setPenWidth(0);
    for (const QPoint& p : shares)
        s.fillRect(QRect(p - QPoint(dot, dot) / 2, QSize(dot, dot)), kBlack);

    // The legend, as the screen's chart has it under the plot.
    s.setFont(QString::fromUtf16(kFamily), ReportLayout::kBodyPoints);
    const int mid = (l.left + l.right) / 2, y = l.trendLegendTop;
    s.fillRect(QRect(l.plotLeft, y + pixels(l, 3), pixels(l, 14), pixels(l, 9)), kBarColour);
    s.textOut({l.plotLeft + pixels(l, 18), y}, kProblemsWord.toString());
    s.setPenWidth(pixels(l, 1.5));
    line(s, {mid, y + pixels(l, 7)}, {mid + pixels(l, 14), y + pixels(l, 7)});
    s.setPenWidth(0);
    s.textOut({mid + pixels(l, 18), y}, kFirstTryShareWord.toString());
}

// The day's practice in one line on the grid's heading row, after the
// heading, cut to the page's width.
void drawDay(PageSurface& s, const ReportLayout& l, const std::optional<records::PathPage>& path)
{
    if (!path) return;
    const int from = l.left + pixels(l, 60);
    const QString text =
        currentStepText(path->current) + QStringLiteral("　") + marksText(path->marks);
    s.textOut({from, l.gridHeadingTop + pixels(l, 2)},
              fitText(l, text, l.right - from, ReportLayout::kBodyPoints));
}

} // namespace

ChildReport readReport(const records::Connection& connection, qint64 child, const QString& nickname,
                       const QDateTime& now)
{
    const QDate today = now.toLocalTime().date();
    return {nickname, today, records::readChildPage(connection, child, now),
            records::readPathPage(connection, child, today)};
}

ReportLayout computeReportLayout(QSize pageSize, int kinds)
{
    ReportLayout l;
    l.scale = std::min(double(pageSize.width()) / ReportLayout::kPointsWide,
                       double(pageSize.height()) / ReportLayout::kPointsHigh);
    const int margin = pixels(l, ReportLayout::kMargin);
    l.left = margin;
    l.right = pageSize.width() - margin;
    l.bottom = pageSize.height() - margin;

    double y = ReportLayout::kMargin; // points from the top
    l.titleTop = pixels(l, y);
    y += kTitleHigh;
    l.gridHeadingTop = pixels(l, y);
    y += kHeadingHigh;
    l.gridTop = pixels(l, y);
    l.gridCellWide = std::min(pixels(l, kGridCellWide), (l.right - l.left) / 11);
    l.gridCellHigh = pixels(l, kGridRowHigh);
    y += 10 * kGridRowHigh + 6;
    l.legendTop = pixels(l, y);
    y += kLegendHigh;
    l.kindsHeadingTop = pixels(l, y);
    y += kHeadingHigh;
    l.kindsTop = pixels(l, y);
    l.kindRowHigh = pixels(l, kKindRowHigh);
    double x = l.left;
    for (const double share : kKindShares) {
        l.kindColumns << int(x);
        x += share * (l.right - l.left);
    }
    l.kindColumns << l.right;

    // The rows left for kinds once the headers' row and the trend below
    // have their room; the last of them tells the kinds left off.
    constexpr double kTrendHigh =
        kTrendGap + kHeadingHigh + 6 + kPlotHigh + kTickHigh + kTrendLegendHigh;
    const double room = l.bottom / l.scale - kTrendHigh - y;
    const int rows = std::max(0, int(std::floor(room / kKindRowHigh)) - 1);
    l.kindsShown = kinds <= rows ? kinds : std::max(0, rows - 1);
    l.kindsLeftOff = kinds - l.kindsShown;
    y += kKindRowHigh * (1 + l.kindsShown + (l.kindsLeftOff > 0 ? 1 : 0)) + kTrendGap;

    l.trendHeadingTop = pixels(l, y);
    y += kHeadingHigh + 6;
    l.plotTop = pixels(l, y);
    y += kPlotHigh;
    l.plotBottom = pixels(l, y);
    l.plotLeft = l.left + pixels(l, kAxisLabelWide);
    l.plotRight = l.right - pixels(l, kAxisLabelWide);
    y += kTickHigh;
    l.trendLegendTop = pixels(l, y);
    return l;
}

bool printReports(PageSurface& surface, const QList<ChildReport>& reports)
{
    if (reports.isEmpty()) return true;
    if (!surface.begin()) return false;
    for (qsizetype i = 0; i < reports.size(); ++i) {
        if (i > 0 && !surface.newPage()) {
            surface.abort();
            return false;
        }
        const ChildReport& report = reports[i];
        const ReportLayout l =
            computeReportLayout(surface.pageSize(), int(report.page.kinds.size()));
        surface.setPenWidth(0);
        drawTitle(surface, l, report);
        drawGrid(surface, l, report.page.facts);
        drawDay(surface, l, report.path);
        drawKinds(surface, l, report.page.kinds);
        drawTrend(surface, l, report.page.days);
    }
    return surface.end();
}

} // namespace kiroku
