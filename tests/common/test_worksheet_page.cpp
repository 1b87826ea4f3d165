// SPDX-License-Identifier: GPL-3.0-or-later
// Worksheet layout and drawing: page geometry, line places, page counts, one
// job for both sheets, and a real PDF written through QPrinter.
#include "common/fonts.h"
#include "common/worksheet_page.h"
#include "tests/support/doubles.h"

#include <QApplication>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace common;

namespace {
QStringList numbered(const QString& prefix, int n)
{
    QStringList out;
    for (int i = 1; i <= n; ++i) out << prefix + QString::number(i);
    return out;
}
} // namespace

class TestWorksheetPage : public QObject {
    Q_OBJECT
private slots:
    void layoutOf4800PixelPage()
    {
        const WorksheetLayout l = computeLayout({3400, 4800}, 45);
        QCOMPARE(l.usable, 4600);
        QCOMPARE(l.row, 383);
        QCOMPARE(l.top, 191);
        QCOMPARE(l.pages, 3);
        QList<int> rows;
        for (int i = 1; i <= 20; i += 2) rows << placeLine(l, i).at.y();
        QCOMPARE(rows, (QList<int>{766, 1149, 1532, 1915, 2298, 2681, 3064, 3447, 3830, 4213}));
    }

    void pages_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("pagesPerSheet");
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("1") << 1 << 1;
        QTest::newRow("7") << 7 << 1;
        QTest::newRow("20") << 20 << 1;
        QTest::newRow("21") << 21 << 2;
        QTest::newRow("45") << 45 << 3;
        QTest::newRow("100") << 100 << 5;
    }
    void pages()
    {
        QFETCH(int, count);
        QFETCH(int, pagesPerSheet);
        test_support::RecordingSurface surface({3400, 4800});
        QVERIFY(printWorksheets(
            surface, {{u"ＭＳゴシック"_qs, 20, numbered("q", count), numbered("a", count)}}));
        QCOMPARE(surface.pages, 2 * pagesPerSheet);
        QCOMPARE(surface.count(test_support::PageOp::kBegin),
                 count > 0 ? 1 : 0); // one job for everything
        QCOMPARE(surface.ended, count > 0);
        if (count == 0) return;
        const WorksheetLayout l = computeLayout(surface.pageSize(), count);
        for (int sheet = 0; sheet < 2; ++sheet) {
            const QString prefix = sheet == 0 ? "q" : "a";
            int i = 1;
            for (int p = 0; p < pagesPerSheet; ++p) {
                const auto texts = surface.textsOnPage(sheet * pagesPerSheet + p);
                QCOMPARE(texts.first().second, u"なまえ"_qs);
                QCOMPARE(texts.first().first, QPoint(1700, l.top + 20));
                for (int t = 1; t < texts.size(); ++t, ++i) {
                    QCOMPARE(texts[t].second, prefix + QString::number(i));
                    const int slot = (i - 1) % 20;
                    const QPoint expected(i % 2 ? 200 : 1700, l.row * (slot / 2 + 2));
                    QCOMPARE(texts[t].first, expected);
                }
            }
            QCOMPARE(i, count + 1);
        }
    }

    void pageDrawing()
    {
        // Seven lines: the name box, the label, then 1 3 5 7 left and 2 4 6 right.
        test_support::RecordingSurface surface({2000, 2600});
        QVERIFY(printWorksheets(surface,
                                {{u"ＭＳゴシック"_qs, 13, numbered("q", 7), numbered("a", 7)}}));
        using test_support::PageOp;
        const QList<PageOp> expected{{PageOp::kBegin},
                                     {PageOp::kFont, {}, u"ＭＳゴシック"_qs, 13},
                                     {PageOp::kMoveTo, {200, 100}},
                                     {PageOp::kLineTo, {1800, 100}},
                                     {PageOp::kLineTo, {1800, 300}},
                                     {PageOp::kLineTo, {200, 300}},
                                     {PageOp::kLineTo, {200, 100}},
                                     {PageOp::kText, {1000, 120}, u"なまえ"_qs},
                                     {PageOp::kText, {200, 400}, "q1"},
                                     {PageOp::kText, {1000, 400}, "q2"},
                                     {PageOp::kText, {200, 600}, "q3"},
                                     {PageOp::kText, {1000, 600}, "q4"},
                                     {PageOp::kText, {200, 800}, "q5"},
                                     {PageOp::kText, {1000, 800}, "q6"},
                                     {PageOp::kText, {200, 1000}, "q7"},
                                     {PageOp::kNewPage}};
        QCOMPARE(surface.ops.mid(0, expected.size()), expected);
        QCOMPARE(surface.ops.last(), PageOp{PageOp::kEnd});
    }

    void failingJobReportsAndPrintsNothing()
    {
        test_support::RecordingSurface surface({2000, 2600});
        surface.failOnBegin();
        QVERIFY(!printWorksheets(surface,
                                 {{u"ＭＳゴシック"_qs, 20, numbered("q", 3), numbered("a", 3)}}));
        QVERIFY(surface.ops.isEmpty());
        QVERIFY(!surface.errorText().isEmpty());
    }

    void realPdf()
    {
        installJapaneseFonts();
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("sheet.pdf"));
        PrinterSurface surface(printer);
        const QStringList problems{"23+45 =", u"84÷7 ="_qs, "0.5+0.5 ="};
        const QStringList answers{"23+45 =68", u"84÷7 =12"_qs, "0.5+0.5 =1"};
        QVERIFY(printWorksheets(surface, {{u"ＭＳゴシック"_qs, 20, problems, answers}}));
        QVERIFY(QFileInfo(dir.filePath("sheet.pdf")).size() > 0);
        const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
        if (pdftotext.isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
        QProcess p;
        p.start(pdftotext, {"-layout", dir.filePath("sheet.pdf"), "-"});
        QVERIFY(p.waitForFinished(30000));
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
        QCOMPARE(pages.size(), 2);
        QVERIFY(pages[0].contains(u"なまえ"_qs));
        QVERIFY(pages[0].indexOf("23+45 =") < pages[0].indexOf(u"84÷7 ="_qs));
        QVERIFY(!pages[0].contains("=68"));
        QVERIFY(pages[1].contains("23+45 =68"));
        QVERIFY(pages[1].contains(u"84÷7 =12"_qs));
        QVERIFY(pages[1].contains("0.5+0.5 =1"));
    }

    void unwritablePdfFails()
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName("/nonexistent-folder/sheet.pdf");
        PrinterSurface surface(printer);
        QVERIFY(!printWorksheets(surface, {{u"ＭＳゴシック"_qs, 20, {"1+1 ="}, {"1+1 =2"}}}));
        QVERIFY(surface.errorText().contains("/nonexistent-folder/sheet.pdf"));
    }
};

QTEST_MAIN(TestWorksheetPage)
#include "test_worksheet_page.moc"
