// SPDX-License-Identifier: GPL-3.0-or-later
// The report's page drawn on a recording surface: the grid's marks on their
// states' colours, the kinds table cut to the page with the kinds left off
// counted, the trend's bars and line on one base, nothing off the page.
#include "kiroku/page_words.h"
#include "kiroku/report_page.h"
#include "tests/support/doubles.h"

#include <QRegularExpression>
#include <QTest>

using test_support::PageOp;
using test_support::RecordingSurface;
namespace records = common::records;

namespace {
const QSize kA4{2480, 3508}; // at 300 dpi

// A report with `kinds` kinds (たし算 1, たし算 2, …) and the given days.
kiroku::ChildReport reportWith(int kinds, const QList<records::DaySummary>& days = {})
{
    kiroku::ChildReport report{u"ゆうき"_qs, QDate(2026, 12, 1), {}};
    for (int i = 0; i < kinds; ++i)
        report.page.kinds << records::KindSummary{
            "numira", QStringLiteral("add:%1").arg(i), 2, 20, 85,
            4200,     QDateTime::currentDateTime()};
    report.page.days = days;
    return report;
}

bool drew(const RecordingSurface& surface, const QString& text)
{
    return std::any_of(surface.ops.begin(), surface.ops.end(), [&](const PageOp& op) {
        return op.kind == PageOp::kText && op.text == text;
    });
}
} // namespace

class TestReportPage : public QObject {
    Q_OBJECT
private slots:
    void kindsFitOrAreCounted_data()
    {
        QTest::addColumn<QSize>("page");
        QTest::addColumn<int>("kinds");
        QTest::addColumn<bool>("cut");
        QTest::newRow("A4, none") << kA4 << 0 << false;
        QTest::newRow("A4, a few") << kA4 << 4 << false;
        // As many as the rows left: the last row holds a kind, not the line of those left off.
        const int rows = kiroku::computeReportLayout(kA4, 1000).kindsShown + 1;
        QTest::newRow("A4, the rows just filled") << kA4 << rows << false;
        QTest::newRow("A4, one more") << kA4 << rows + 1 << true;
        QTest::newRow("A4, too many") << kA4 << 60 << true;
        QTest::newRow("Letter at 1200 dpi, too many") << QSize(10200, 13200) << 60 << true;
        QTest::newRow("A4 across, too many") << kA4.transposed() << 60 << true;
    }
    void kindsFitOrAreCounted()
    {
        QFETCH(QSize, page);
        QFETCH(int, kinds);
        QFETCH(bool, cut);
        RecordingSurface surface(page);
        QVERIFY(kiroku::printReports(surface, {reportWith(kinds)}));
        QCOMPARE(surface.pages, 1);
        const int bottom = kiroku::computeReportLayout(page, kinds).bottom;
        const QRect sheet({0, 0}, page);
        int shown = 0, leftOff = 0, lowestKind = 0, trendTop = 0;
        for (const PageOp& op : surface.ops) {
            QVERIFY(op.kind != PageOp::kFill ? sheet.contains(op.at) : sheet.contains(op.area));
            if (op.kind != PageOp::kText) continue;
            QVERIFY2(op.at.y() < bottom, qPrintable(op.text));
            if (op.text.startsWith(u"たし算 ")) ++shown, lowestKind = op.at.y();
            if (op.text.startsWith(u"ほか")) leftOff = op.text.mid(2).split(u"種類"_qs)[0].toInt();
            if (op.text == kiroku::kTrendHeading) trendTop = op.at.y();
        }
        QCOMPARE(shown + leftOff, kinds);
        QCOMPARE(leftOff > 0, cut);
        QVERIFY(lowestKind < trendTop);
    }

    // A kind is named as the child saw it, on the page and on paper.
    void kindNames_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("name");
        QTest::newRow("a list kind") << "numira"
                                     << "add:3" << u"たし算 4"_qs;
        QTest::newRow("the missed facts") << "numira"
                                          << "review" << u"にがて"_qs;
        QTest::newRow("bairo") << "bairo"
                               << "gcd:hard" << u"最大公約数 むずかしい"_qs;
        QTest::newRow("bairo's missed pairs") << "bairo"
                                              << "review" << u"にがて"_qs;
    }
    void kindNames()
    {
        QFETCH(QString, program);
        QFETCH(QString, choice);
        QFETCH(QString, name);
        QCOMPARE(kiroku::kindLabel(program, choice), name);
    }

    // Each cell's mark and product stand on its state's colour; the ×0
    // column is there for a child who practised it.
    void gridCells_data()
    {
        QTest::addColumn<QString>("fact");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<bool>("zeroColumn");
        using records::FactState;
        QTest::newRow("missed") << "mul:7x8" << int(FactState::kRecentlyMissed) << "△ 56" << false;
        QTest::newRow("mastered") << "mul:2x3" << int(FactState::kMastered) << "◎ 6" << false;
        QTest::newRow("from zero") << "mul:3x0" << int(FactState::kLearning) << "○ 0" << true;
        QTest::newRow("not seen") << "" << int(FactState::kNotSeen) << "・ 81" << false;
    }
    void gridCells()
    {
        QFETCH(QString, fact);
        QFETCH(int, state);
        QFETCH(QString, cell);
        QFETCH(bool, zeroColumn);
        kiroku::ChildReport report = reportWith(0);
        if (!fact.isEmpty()) report.page.facts[fact].state = records::FactState(state);
        RecordingSurface surface(kA4);
        QVERIFY(kiroku::printReports(surface, {report}));
        const QList<PageOp>& ops = surface.ops;
        const auto at =
            std::find_if(ops.begin(), ops.end(), [&](const PageOp& op) { return op.text == cell; });
        QVERIFY(at != ops.end());
        const auto fill = std::find_if(std::make_reverse_iterator(at), ops.rend(),
                                       [](const PageOp& op) { return op.kind == PageOp::kFill; });
        QCOMPARE(fill->colour, kiroku::lookOf(records::FactState(state)).colour);
        QVERIFY(fill->area.contains(at->at));
        QCOMPARE(drew(surface, u"×0"_qs), zeroColumn);
    }

    // Three days practised: a bar each, taller for more problems, and the
    // first-try line through them, 100% highest and 0% on the bars' base.
    void trend()
    {
        QList<records::DaySummary> days;
        for (int d = 0; d < 56; ++d) days << records::DaySummary{QDate(2026, 10, 7).addDays(d)};
        days[10] = {days[10].day, 10, 100};
        days[30] = {days[30].day, 40, 50};
        days[50] = {days[50].day, 20, 0};
        RecordingSurface surface(kA4);
        QVERIFY(kiroku::printReports(surface, {reportWith(1, days)}));
        const QList<PageOp>& ops = surface.ops;
        // The bars' colour is the legend's swatch before 問題数.
        const auto legend = std::find_if(ops.rbegin(), ops.rend(), [](const PageOp& op) {
            return op.text == kiroku::kProblemsWord;
        });
        const QRgb bar = std::find_if(legend, ops.rend(), [](const PageOp& op) {
                             return op.kind == PageOp::kFill;
                         })->colour;
        QList<QRect> bars;
        for (const PageOp& op : ops)
            if (op.kind == PageOp::kFill && op.colour == bar) bars << op.area;
        QCOMPARE(bars.size(), 4); // three days and the legend
        QVERIFY(bars[1].height() > bars[2].height() && bars[2].height() > bars[0].height());
        QCOMPARE(bars[0].bottom(), bars[1].bottom());
        QList<QPoint> line;
        bool thick = false;
        for (const PageOp& op : ops) {
            if (op.kind == PageOp::kPen) thick = op.points > 0;
            if (thick && (op.kind == PageOp::kMoveTo || op.kind == PageOp::kLineTo)) line << op.at;
        }
        QCOMPARE(line.size(), 3 + 2); // the line's three days, then the legend's sample
        QVERIFY(line[0].y() < line[1].y() && line[1].y() < line[2].y());
        QCOMPARE(line[2].y(), bars[0].bottom() + 1);
        QVERIFY(line[0].x() > bars[0].left() && line[0].x() < bars[0].right());
        // Every other week's first day under the bars, four for eight weeks.
        for (const char* label :
             {"0", "25", "50", "0%", "50%", "100%", "10/7", "10/21", "11/4", "11/18"})
            QVERIFY2(drew(surface, label), label);
        const QRegularExpression tick(QStringLiteral("^\\d+/\\d+$"));
        QCOMPARE(std::count_if(ops.begin(), ops.end(),
                               [&](const PageOp& op) { return tick.match(op.text).hasMatch(); }),
                 4);
    }
};

QTEST_MAIN(TestReportPage)
#include "test_report_page.moc"
