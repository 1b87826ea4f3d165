// SPDX-License-Identifier: GPL-3.0-or-later
// What both drill windows do the same way: the print flow, the count box and
// the answer keys.
#include "common/answer_keys.h"
#include "common/count_box.h"
#include "common/dialogs.h"
#include "common/print_flow.h"
#include "common/worksheet_page.h"
#include "tests/support/doubles.h"
#include "tests/support/forwarding_surface.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

using Answer = common::Dialogs::Answer;
using Outcome = common::PrintFlow::Outcome;

class TestWindowKit : public QObject {
    Q_OBJECT
private slots:
    void printFlow_data()
    {
        QTest::addColumn<bool>("fixed");
        QTest::addColumn<QList<int>>("answers"); // information and question, in order
        QTest::addColumn<bool>("confirmed");     // the print dialog
        QTest::addColumn<bool>("jobFails");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QStringList>("shown"); // kinds of box, in order
        const auto yes = int(Answer::kYes), ok = int(Answer::kOk), closed = int(Answer::kClosed);
        const auto no = int(Answer::kNo);
        QTest::newRow("not fixed, OK ends") << false << QList{ok} << true << false
                                            << Outcome::kDeclined << QStringList{"information"};
        QTest::newRow("not fixed, closed goes on")
            << false << QList{closed, yes} << true << false << Outcome::kPrinted
            << QStringList{"information", "confirm", "printer"};
        QTest::newRow("fixed, No")
            << true << QList{no} << true << false << Outcome::kDeclined << QStringList{"confirm"};
        QTest::newRow("fixed, question closed") << true << QList{closed} << true << false
                                                << Outcome::kDeclined << QStringList{"confirm"};
        QTest::newRow("print dialog cancelled")
            << true << QList{yes} << false << false << Outcome::kCancelled
            << QStringList{"confirm", "printer"};
        QTest::newRow("job fails") << true << QList{yes} << true << true << Outcome::kFailed
                                   << QStringList{"confirm", "printer", "warning"};
    }
    void printFlow()
    {
        QFETCH(bool, fixed);
        QFETCH(QList<int>, answers);
        QFETCH(bool, confirmed);
        QFETCH(bool, jobFails);
        QFETCH(Outcome, outcome);
        QFETCH(QStringList, shown);
        test_support::ScriptedDialogs dialogs;
        for (int a : answers) dialogs.answers.push_back(Answer(a));
        dialogs.printerAnswers.push_back(confirmed);
        test_support::RecordingSurface recorded({3400, 4800});
        if (jobFails) recorded.failOnBegin();
        common::PrintFlow flow(dialogs, [&](QPrinter&) -> std::unique_ptr<common::PageSurface> {
            return std::make_unique<ForwardingSurface>(recorded);
        });
        QLineEdit message(u"こたえをいれてね"_qs);
        QPalette red = message.palette();
        red.setColor(QPalette::Text, Qt::red);
        message.setPalette(red);
        int sheetsMade = 0;
        QString messageWhilePrinting;
        const common::PrintTexts texts{u"info"_qs, u"question"_qs, u"printing"_qs};
        const Outcome got = flow.run(nullptr, &message, fixed, texts, [&] {
            ++sheetsMade;
            messageWhilePrinting = message.text();
            return common::Worksheet{u"ＭＳゴシック"_qs, 20, {u"1+1 ="_qs}, {u"1+1 =2"_qs}};
        });
        QCOMPARE(got, outcome);
        QStringList kinds;
        for (const auto& box : dialogs.shown) kinds << box.kind;
        QCOMPARE(kinds, shown);
        // The sheet is made only once the print dialog is confirmed.
        QCOMPARE(sheetsMade, shown.contains("printer") && confirmed ? 1 : 0);
        if (sheetsMade) QCOMPARE(messageWhilePrinting, u"printing"_qs);
        QCOMPARE(recorded.pages, outcome == Outcome::kPrinted ? 2 : 0);
        QCOMPARE(message.text(), u"こたえをいれてね"_qs);
        QCOMPARE(message.palette().color(QPalette::Text), QColor(Qt::red));
    }

    void countBox_data()
    {
        QTest::addColumn<QString>("typed"); // empty: the box cancelled
        QTest::addColumn<int>("count");     // 0: no number
        QTest::newRow("seven") << "7" << 7;
        QTest::newRow("cancelled gives the preset") << "" << 10;
        QTest::newRow("blanks and sign") << " +250 " << 100;
        QTest::newRow("below one") << "-3" << 1;
        QTest::newRow("not a number") << "12a" << 0;
    }
    void countBox()
    {
        QFETCH(QString, typed);
        QFETCH(int, count);
        test_support::ScriptedDialogs dialogs;
        if (!typed.isEmpty()) dialogs.inputs.push_back(typed);
        const auto got = common::askProblemCount(dialogs, nullptr, {u"c"_qs, u"p"_qs, u"10"_qs});
        QCOMPARE(got.value_or(0), count);
        QCOMPARE(dialogs.texts("error"),
                 count ? QStringList{} : QStringList{"'" + typed + u"' は整数ではありません"_qs});
        QCheckBox tick;
        int clicks = 0;
        connect(&tick, &QCheckBox::toggled, this, [&] { ++clicks; });
        common::showCountFixed(&tick, true);
        QVERIFY(tick.isChecked());
        QCOMPARE(clicks, 0);
    }

    // Holding Return sends presses with auto-repeated releases between them;
    // only the real release counts.
    void answerKeys()
    {
        QLineEdit field;
        QList<int> pressed, released;
        new common::AnswerKeys(
            &field, [&](int k) { pressed << k; }, [&](int k) { released << k; });
        auto send = [&](QEvent::Type type, bool repeat) {
            QKeyEvent event(type, Qt::Key_Return, Qt::NoModifier, QString(), repeat);
            QCoreApplication::sendEvent(&field, &event);
        };
        send(QEvent::KeyPress, false);
        for (int i = 0; i < 3; ++i) {
            send(QEvent::KeyRelease, true);
            send(QEvent::KeyPress, true);
        }
        send(QEvent::KeyRelease, false);
        QCOMPARE(pressed.size(), 4);
        QCOMPARE(released, QList<int>{Qt::Key_Return});
    }
};

QTEST_MAIN(TestWindowKit)
#include "test_window_kit.moc"
