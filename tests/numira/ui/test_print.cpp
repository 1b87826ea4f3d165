// SPDX-License-Identifier: GPL-3.0-or-later
// The print button: its questions, the sheets it draws, and a real PDF.
#include "window_fixture.h"

#include "common/worksheet_page.h"
#include "tests/support/doubles.h"
#include "tests/support/forwarding_surface.h"
#include "tests/support/pdf_text.h"

#include <QPrinter>
#include <QTemporaryDir>
#include <QToolButton>

using Answer = common::Dialogs::Answer;

namespace {
const QString kInfo =
    u"このボタンは、もんだいをいんさつするボタンです。\r\n\nもんだいすうをきめてからえらんでください"_qs;
const QString kConfirm =
    u"このボタンは　もんだいを いんさつするボタンです。\r\n\nいまだされているもんだいをいんさつします。\r\n\nもんだいえらびでえらびなおすとあたらしいもんだいがでます。\r\n\nいんさつしますか？"_qs;

// A window whose worksheets are recorded on a page 4800 pixels high.
struct PrintFixture : WindowFixture {
    PrintFixture()
    {
        // The window drops its surface after the click; the fixture keeps
        // the recording and hands the window a forwarder.
        pages = [this](QPrinter&) -> std::unique_ptr<common::PageSurface> {
            kept.push_back(std::make_unique<test_support::RecordingSurface>(QSize(3400, 4800)));
            recorded = kept.back().get();
            if (failJob) recorded->failOnBegin();
            return std::make_unique<ForwardingSurface>(*recorded);
        };
    }
    test_support::RecordingSurface* recorded = nullptr;
    std::vector<std::unique_ptr<test_support::RecordingSurface>> kept;
    bool failJob = false;
};
} // namespace

class TestPrint : public QObject {
    Q_OBJECT
private slots:
    void questionFlows_data()
    {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QList<int>>("answers"); // Answer values in order
        QTest::addColumn<bool>("dialog");        // the print dialog is shown
        QTest::addColumn<bool>("confirmed");     // and confirmed with Print
        QTest::newRow("no tick, OK ends") << false << QList<int>{int(Answer::kOk)} << false << true;
        QTest::newRow("no tick, closed goes on, Yes")
            << false << QList<int>{int(Answer::kClosed), int(Answer::kYes)} << true << true;
        QTest::newRow("ticked, Yes") << true << QList<int>{int(Answer::kYes)} << true << true;
        QTest::newRow("ticked, Yes, print dialog cancelled")
            << true << QList<int>{int(Answer::kYes)} << true << false;
        QTest::newRow("ticked, No") << true << QList<int>{int(Answer::kNo)} << false << true;
    }
    void questionFlows()
    {
        QFETCH(bool, ticked);
        QFETCH(QList<int>, answers);
        QFETCH(bool, dialog);
        QFETCH(bool, confirmed);
        PrintFixture f;
        f.choose(0, 0);
        if (ticked) f.fix(7);
        for (int a : answers) f.dialogs.answers.push_back(Answer(a));
        f.dialogs.printerAnswers.push_back(confirmed);
        const QString message = f.shows("messageLine");
        QTest::mouseClick(f.w("printButton"), Qt::LeftButton);
        QCOMPARE(f.dialogs.texts("information"), ticked ? QStringList{} : QStringList{kInfo});
        const bool asked = ticked || answers.first() != int(Answer::kOk);
        QCOMPARE(f.dialogs.texts("confirm"), asked ? QStringList{kConfirm} : QStringList{});
        QCOMPARE(f.dialogs.count("printer"), dialog ? 1 : 0);
        QCOMPARE(f.recorded != nullptr, dialog && confirmed);
        QCOMPARE(f.shows("messageLine"), message);
        // The run is untouched.
        QCOMPARE(f.run().currentNumber, 1);
        QCOMPARE(f.shows("problemEdit"), f.store().question(1));
    }

    void sevenProblems()
    {
        PrintFixture f;
        f.fix(7);
        f.choose(0, 4);
        f.answerRight();
        f.dialogs.answers.push_back(Answer::kYes);
        f.click("printButton");
        QVERIFY(f.recorded);
        const auto& store = f.store();
        QCOMPARE(f.recorded->pages, 2);
        const auto problems = f.recorded->textsOnPage(0);
        const auto answers = f.recorded->textsOnPage(1);
        QCOMPARE(problems.size(), 8);
        for (int i = 1; i <= 7; ++i) {
            QCOMPARE(problems[i].second, store.question(i) + " =");
            QCOMPARE(answers[i].second, store.question(i) + " =" + store.answer(i));
            QCOMPARE(problems[i].first, QPoint(i % 2 ? 200 : 1700, 383 * ((i - 1) / 2 + 2)));
        }
        QVERIFY(f.recorded->usedFont(u"ＭＳゴシック"_qs, 20));
        // Printing changes nothing of the run.
        QCOMPARE(f.shows("numberEdit"), " 2");
        QCOMPARE(f.shows("scoreEdit"), " 100");
    }

    void pageCounts_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("pages");
        QTest::newRow("45") << 45 << 6;
        QTest::newRow("100") << 100 << 10;
    }
    void pageCounts()
    {
        QFETCH(int, count);
        QFETCH(int, pages);
        PrintFixture f;
        f.choose(0, count == 45 ? 0 : 4);
        f.fix(count);
        f.dialogs.answers.push_back(Answer::kYes);
        f.click("printButton");
        QCOMPARE(f.recorded->pages, pages);
        QCOMPARE(f.recorded->count(test_support::PageOp::kBegin), 1);
    }

    void failedJobIsReported()
    {
        PrintFixture f;
        f.failJob = true;
        f.fix(5);
        f.choose(0, 4);
        const QString message = f.shows("messageLine");
        f.dialogs.answers.push_back(Answer::kYes);
        f.click("printButton");
        QCOMPARE(f.dialogs.count("warning"), 1);
        QCOMPARE(f.shows("messageLine"), message);
    }

    void realPdf()
    {
        WindowFixture f;
        QTemporaryDir dir;
        const QString file = dir.filePath("numira.pdf");
        f.dialogs.onPrinterSetup = [file](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(file);
        };
        f.fix(21);
        f.choose(0, 8);
        f.dialogs.answers.push_back(Answer::kYes);
        f.click("printButton");
        QCOMPARE(f.dialogs.count("warning"), 0);
        QVERIFY(QFileInfo(file).size() > 0);
        const QString pdftotext = test_support::pdftotextPath();
        if (pdftotext.isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
        QStringList pages;
        QVERIFY(test_support::readPdfPages(pdftotext, file, pages));
        QCOMPARE(pages.size(), 4);
        const auto& store = f.store();
        // Problems in order on the problem pages, with their answers after.
        qsizetype at = 0;
        for (int i = 1; i <= 20; ++i) {
            const qsizetype next = pages[0].indexOf(store.question(i) + " =", at);
            QVERIFY2(next >= 0, qPrintable(store.question(i)));
            at = next;
        }
        QVERIFY(pages[1].contains(store.question(21) + " ="));
        QVERIFY(pages[2].contains(store.question(1) + " =" + store.answer(1)));
        QVERIFY(pages[3].contains(store.question(21) + " =" + store.answer(21)));
    }
};

QTEST_MAIN(TestPrint)
#include "test_print.moc"
