// SPDX-License-Identifier: GPL-3.0-or-later
// The worksheet of the LCM/GCD drill: the sheet's problems and texts, the
// questions before printing, the pages drawn, the restart after a printed
// sheet, and a real PDF.
#include "bairo/core/sheet.h"
#include "bairo/ui/main_window.h"
#include "common/dialogs.h"
#include "common/feedback.h"
#include "common/random_source.h"
#include "common/worksheet_page.h"
#include "tests/support/doubles.h"
#include "tests/support/forwarding_surface.h"
#include "tests/support/pdf_text.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <numeric>

using namespace bairo;
using Answer = common::Dialogs::Answer;

namespace {

struct Sheet {
    test_support::ScriptedDialogs dialogs;
    test_support::RecordingSoundPlayer sound;
    test_support::SeededRandomSource random{77};
    std::unique_ptr<test_support::RecordingSurface> recorded;
    bool failJob = false;
    // Sheets are recorded unless a test prints for real.
    common::PageSurfaceFactory pages = [this](QPrinter&) -> std::unique_ptr<common::PageSurface> {
        recorded = std::make_unique<test_support::RecordingSurface>(QSize(3400, 4800));
        if (failJob) recorded->failOnBegin();
        return std::make_unique<ForwardingSurface>(*recorded);
    };
    MainWindow window{{dialogs, sound, random, common::AssetLocator({ASSET_DIR}),
                       [this](QPrinter& printer) { return pages(printer); }}};

    Sheet() { window.show(); }
    QLineEdit* edit(const char* name)
    {
        return window.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    void start()
    {
        QTest::mouseClick(window.findChild<QPushButton*>("startButton"), Qt::LeftButton);
    }
    void fix(int n)
    {
        dialogs.inputs.push_back(QString::number(n));
        QTest::mouseClick(window.findChild<QCheckBox*>("fixedCountBox"), Qt::LeftButton, {},
                          {6, 8});
    }
    void chooseKind(const QString& text)
    {
        for (auto* b : window.findChildren<QRadioButton*>())
            if (b->text() == text) QTest::mouseClick(b, Qt::LeftButton, {}, {6, b->height() / 2});
    }
    void print()
    {
        QTest::mouseClick(window.findChild<QPushButton*>("printButton"), Qt::LeftButton);
    }
};

} // namespace

class TestPrint : public QObject {
    Q_OBJECT
private slots:
    void sheetTexts_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("answerText");
        QTest::newRow("lcm") << 4 << 6 << 12 << 0 << u"4 と 6 の最小公倍数は"_qs
                             << u"4 と 6 のLCMは 12"_qs;
        QTest::newRow("gcd") << 12 << 18 << 6 << 1 << u"12 と 18 の最大公約数は"_qs
                             << u"12 と 18 のGCMは 6"_qs;
    }
    void sheetTexts()
    {
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(int, answer);
        QFETCH(int, kind);
        QFETCH(QString, question);
        QFETCH(QString, answerText);
        Problem p;
        p.first = first;
        p.second = second;
        p.answer = answer;
        QCOMPARE(sheetQuestion(p, kind), question);
        QCOMPARE(sheetAnswer(p, kind), answerText);
    }

    void sheetProblemsComeFromOneSeeding()
    {
        for (int kind : {0, 1})
            for (int level : {0, 1}) {
                test_support::ScriptedRandomSource random;
                DrillState drill;
                drill.start(kind, level);
                const auto sheet = generateSheet(drill, random, 100);
                QCOMPARE(int(sheet.size()), 100);
                QCOMPARE(random.reseeds, 1);
                QVERIFY(!drill.printing);
                for (size_t i = 0; i < sheet.size(); ++i) {
                    const Problem& p = sheet[i];
                    QCOMPARE(p.answer,
                             kind == 0 ? std::lcm(p.first, p.second) : std::gcd(p.first, p.second));
                    if (i > 0)
                        QVERIFY(p.first != sheet[i - 1].first || p.second != sheet[i - 1].second);
                }
            }
    }

    void decliningKeepsTheDrill_data()
    {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QList<int>>("answers");
        QTest::newRow("no tick, OK") << false << QList<int>{int(Answer::Ok)};
        QTest::newRow("ticked, No") << true << QList<int>{int(Answer::No)};
    }
    void decliningKeepsTheDrill()
    {
        QFETCH(bool, ticked);
        QFETCH(QList<int>, answers);
        Sheet s;
        if (ticked) s.fix(10);
        s.start();
        QTest::keyClicks(s.edit("answerEdit"), "1");
        QTest::keyClick(s.edit("answerEdit"), Qt::Key_Return); // a wrong try, most likely
        const DrillState before = s.window.drill();
        const QString problem = s.edit("firstEdit")->text() + s.edit("secondEdit")->text();
        for (int a : answers) s.dialogs.answers.push_back(Answer(a));
        s.print();
        QVERIFY(!s.recorded);
        QCOMPARE(s.dialogs.count("printer"), 0);
        QVERIFY(s.window.drill() == before);
        QCOMPARE(s.edit("firstEdit")->text() + s.edit("secondEdit")->text(), problem);
        if (!ticked) {
            QCOMPARE(
                s.dialogs.texts("information"),
                QStringList{
                    u"このボタンは、問題を印刷するボタンです。\r\n\n問題数を決めてから選んでください"_qs});
        }
        if (answers.last() != int(Answer::Ok))
            QCOMPARE(
                s.dialogs.texts("confirm"),
                QStringList{u"このボタンは　問題を印刷するボタンです。\r\n\n印刷しますか？"_qs});
    }

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
        Sheet s;
        s.fix(count);
        if (gcd) s.chooseKind(u"最大公約数"_qs);
        s.start();
        s.dialogs.answers.push_back(Answer::Yes);
        s.print();
        QVERIFY(s.recorded);
        QCOMPARE(s.recorded->pages, pages);
        QCOMPARE(s.recorded->count(test_support::PageOp::Begin), 1);
        QVERIFY(s.recorded->usedFont(u"ＭＳゴシック"_qs, 13));
        const int perSheet = pages / 2;
        const QString word = gcd ? u"の最大公約数は"_qs : u"の最小公倍数は"_qs;
        const QString abbreviation = gcd ? u"のGCMは "_qs : u"のLCMは "_qs;
        int i = 0;
        for (int p = 0; p < perSheet; ++p) {
            const auto questions = s.recorded->textsOnPage(p);
            const auto answers = s.recorded->textsOnPage(p + perSheet);
            QCOMPARE(questions.size(), answers.size());
            for (int t = 1; t < questions.size(); ++t) {
                ++i;
                QVERIFY(questions[t].second.endsWith(word));
                // The answer line repeats its question's numbers and adds the answer.
                const QStringList q = questions[t].second.split(u' ');
                const QStringList a = answers[t].second.split(u' ');
                QCOMPARE(a[0], q[0]);
                QCOMPARE(a[2], q[2]);
                QVERIFY(answers[t].second.contains(abbreviation));
                const int first = q[0].toInt(), second = q[2].toInt();
                QCOMPARE(a.last().toInt(), gcd ? std::gcd(first, second) : std::lcm(first, second));
                QCOMPARE(questions[t].first, answers[t].first);
            }
        }
        QCOMPARE(i, count);
        if (count == 21) QCOMPARE(s.recorded->textsOnPage(1).at(1).first, QPoint(200, 766));
        // A printed sheet restarts the drill.
        QCOMPARE(s.window.drill().questionNo, 1);
        QCOMPARE(s.edit("messageLine")->text(), u"答えを入れてリターンキーを押してね"_qs);
        QCOMPARE(s.edit("numberEdit")->text(), "1");
    }

    // Neither a failed job nor Cancel in the print dialog restarts the drill.
    void unprintedSheetKeepsTheDrill_data()
    {
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("job fails") << false;
        QTest::newRow("print dialog cancelled") << true;
    }
    void unprintedSheetKeepsTheDrill()
    {
        QFETCH(bool, cancelled);
        Sheet s;
        s.failJob = !cancelled;
        s.fix(5);
        s.start();
        QTest::keyClicks(s.edit("answerEdit"), "1");
        QTest::keyClick(s.edit("answerEdit"), Qt::Key_Return);
        const DrillState before = s.window.drill();
        const QString message = s.edit("messageLine")->text();
        s.dialogs.answers.push_back(Answer::Yes);
        s.dialogs.printerAnswers.push_back(!cancelled);
        s.print();
        QCOMPARE(s.dialogs.count("warning"), cancelled ? 0 : 1);
        QCOMPARE(s.recorded == nullptr, cancelled);
        QVERIFY(s.window.drill() == before);
        QCOMPARE(s.edit("messageLine")->text(), message);
    }

    void realPdf()
    {
        Sheet s;
        s.pages = common::printerPages();
        QTemporaryDir dir;
        const QString file = dir.filePath("bairo.pdf");
        s.dialogs.onPrinterSetup = [file](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(file);
        };
        s.fix(10);
        s.start();
        s.dialogs.answers.push_back(Answer::Yes);
        s.print();
        QCOMPARE(s.dialogs.count("warning"), 0);
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
