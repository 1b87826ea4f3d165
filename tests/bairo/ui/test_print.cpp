// SPDX-License-Identifier: GPL-3.0-or-later
// The worksheet of the LCM/GCD drill: the sheet's problems and texts, the
// questions before printing, the pages drawn, the restart after a printed
// sheet, and a real PDF.
#include "window_fixture.h"

#include "bairo/core/sheet.h"
#include "tests/support/pdf_text.h"

#include <QPrinter>
#include <QTemporaryDir>

using namespace bairo;
using Answer = common::Dialogs::Answer;

namespace {
// What the drill and the window show, to tell whether printing changed them.
QStringList shown(const WindowFixture& f)
{
    QStringList texts{QString::number(f.drill().score())};
    for (const char* name :
         {"firstEdit", "secondEdit", "answerEdit", "numberEdit", "scoreEdit", "messageLine"})
        texts << f.shows(name);
    return texts;
}
} // namespace

class TestPrint : public QObject {
    Q_OBJECT
private slots:
    // Unless a sheet is printed, the drill and the window stay as they were.
    void unprintedSheetKeepsTheDrill_data()
    {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("printDialog");
        QTest::addColumn<bool>("jobFails");
        QTest::newRow("no tick, OK") << false << int(Answer::kOk) << false << false;
        QTest::newRow("ticked, No") << true << int(Answer::kNo) << false << false;
        QTest::newRow("print dialog cancelled") << true << int(Answer::kYes) << false << false;
        QTest::newRow("job fails") << true << int(Answer::kYes) << true << true;
    }
    void unprintedSheetKeepsTheDrill()
    {
        QFETCH(bool, ticked);
        QFETCH(int, answer);
        QFETCH(bool, printDialog);
        QFETCH(bool, jobFails);
        WindowFixture f(77);
        if (ticked) f.fix("10");
        f.click("startButton");
        f.enter(1); // a wrong try, most likely
        const RunState before = f.run();
        const QStringList shownBefore = shown(f);
        f.failJob = jobFails;
        f.dialogs.answers.push_back(Answer(answer));
        f.dialogs.printerAnswers.push_back(printDialog);
        f.click("printButton");
        QCOMPARE(f.recorded != nullptr, jobFails);
        QCOMPARE(f.dialogs.count("warning"), jobFails ? 1 : 0);
        QVERIFY(f.run() == before);
        QCOMPARE(shown(f), shownBefore);
        QCOMPARE(
            f.dialogs.texts("information"),
            ticked
                ? QStringList()
                : QStringList{
                      u"このボタンは、問題を印刷するボタンです。\r\n\n問題数を決めてから選んでください"_qs});
        QCOMPARE(f.dialogs.count("confirm"), answer == int(Answer::kOk) ? 0 : 1);
        if (ticked)
            QCOMPARE(f.dialogs.texts("confirm").first(),
                     u"このボタンは　問題を印刷するボタンです。\r\n\n印刷しますか？"_qs);
    }

    // The sheet has the drill's number of problems of the kind chosen, and a
    // printed sheet starts a new set.
    void pages_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("pages");
        QTest::addColumn<bool>("gcd");
        QTest::newRow("10 lcm") << 10 << 2 << false;
        QTest::newRow("21 gcd") << 21 << 4 << true;
        QTest::newRow("100 lcm") << 100 << 10 << false;
    }
    void pages()
    {
        QFETCH(int, count);
        QFETCH(int, pages);
        QFETCH(bool, gcd);
        WindowFixture f(77);
        f.fix(QString::number(count));
        if (gcd) f.clickItem("gcdButton");
        f.click("startButton");
        f.answerRight();
        f.dialogs.answers.push_back(Answer::kYes);
        f.click("printButton");
        QVERIFY(f.recorded);
        QCOMPARE(f.recorded->pages, pages);
        QCOMPARE(f.recorded->count(test_support::PageOp::kBegin), 1);
        QVERIFY(f.recorded->usedFont(u"ＭＳゴシック"_qs, 13));
        int questions = 0;
        for (int p = 0; p < pages / 2; ++p)
            for (const auto& text : f.recorded->textsOnPage(p).mid(1))
                questions += text.second.endsWith(gcd ? u"の最大公約数は" : u"の最小公倍数は");
        QCOMPARE(questions, count);
        QCOMPARE(f.recorded->textsOnPage(pages / 2).at(1).second.contains(gcd ? u"GCM" : u"LCM"),
                 true);
        QCOMPARE(f.run().currentNumber, 1);
        QCOMPARE(f.run().firstTryCorrect, 0);
        QCOMPARE(f.shows("messageLine"), kTypeAndReturn);
        QCOMPARE(f.shows("numberEdit"), "1");
        QCOMPARE(f.shows("scoreEdit"), "0");
    }

    void realPdf()
    {
        WindowFixture f(77);
        f.pages = common::printerPages();
        QTemporaryDir dir;
        const QString file = dir.filePath("bairo.pdf");
        f.dialogs.onPrinterSetup = [file](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(file);
        };
        f.fix("10");
        f.dialogs.answers.push_back(Answer::kYes);
        f.click("printButton");
        QCOMPARE(f.dialogs.count("warning"), 0);
        QVERIFY(QFileInfo(file).size() > 0);
        const QString pdftotext = test_support::pdftotextPath();
        if (pdftotext.isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
        QStringList pages;
        QVERIFY(test_support::readPdfPages(pdftotext, file, pages));
        QCOMPARE(pages.size(), 2);
        QCOMPARE(pages[0].count(u"最小公倍数は"_qs), 10);
        QCOMPARE(pages[1].count(u"LCMは"_qs), 10);
        QVERIFY(pages[0].contains(u"なまえ"_qs));
    }
};

QTEST_MAIN(TestPrint)
#include "test_print.moc"
