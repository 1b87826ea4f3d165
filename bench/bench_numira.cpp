// SPDX-License-Identifier: GPL-3.0-or-later
// Judging one answer in the core, one Return handled by the real window
// (judge, every widget updated, the sound started on a silent output), and
// one showing of the choice window: records off, with the review page, and
// with the review page grown into the day's page (the records' answers
// given at once, so that the window's own cost is what is timed).
#include "common/dialogs.h"
#include "common/qt_sound_player.h"
#include "common/random_source.h"
#include "numira/core/judge.h"
#include "numira/ui/choice_dialog.h"
#include "numira/ui/main_window.h"
#include "tests/support/doubles.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

class BenchNumira : public QObject {
    Q_OBJECT
private slots:
    void judge_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("remainder");
        QTest::newRow("whole") << "1000"
                               << "1000" << false;
        QTest::newRow("decimal") << "19.98"
                                 << "19.980" << false;
        QTest::newRow("remainder") << "12...5"
                                   << " 12 ... 5" << true;
    }
    void judge()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, remainder);
        bool right = false;
        QBENCHMARK { right = numira::judgeAnswer(stored, typed, remainder); }
        QVERIFY(right);
    }

    void returnKey()
    {
        qputenv("APP_SILENT_AUDIO", "1");
        test_support::ScriptedDialogs dialogs;
        common::QtSoundPlayer sound;
        common::ClockRandomSource random;
        numira::MainWindow form({dialogs, sound, random}, [](numira::ChoiceDialog& w) {
            w.findChild<QTabWidget*>("pages")->setCurrentIndex(0);
            w.findChild<QListWidget*>("additionList")->setCurrentRow(4);
            w.findChild<QPushButton*>("confirmButton")->click();
        });
        form.show();
        form.findChild<QPushButton*>("chooseButton")->click();
        auto* answer = form.findChild<QLineEdit*>("answerEdit");
        auto* again = form.findChild<QPushButton*>("startAgainButton");
        QBENCHMARK
        {
            if (form.drill().state().finished) again->click();
            answer->setText(form.drill().answer());
            QTest::keyRelease(answer, Qt::Key_Return);
            QTest::keyPress(answer, Qt::Key_Return);
        }
        QCOMPARE(dialogs.count("warning"), 0);
    }

    void choiceWindow_data()
    {
        QTest::addColumn<bool>("review");
        QTest::addColumn<bool>("day");
        QTest::newRow("records off") << false << false;
        QTest::newRow("review page") << true << false;
        QTest::newRow("day's page") << true << true;
    }
    void choiceWindow()
    {
        QFETCH(bool, review);
        QFETCH(bool, day);
        test_support::ScriptedDialogs dialogs;
        test_support::RecordingSoundPlayer sound;
        common::ClockRandomSource random;
        test_support::RecordingRecords records;
        const common::ReviewProblem fact{"mul:7x8", "7x8", "56", true};
        if (review) records.review = QList<common::ReviewProblem>(20, fact);
        const QDate today = QDate::currentDate();
        if (day)
            records.day = common::DayPage{
                {"add:4", QList<common::ReviewProblem>(4, fact), "add:4", 16, 7, false},
                {{today.addDays(1 - today.day()), today}, 1, true}};
        numira::MainWindow form({dialogs, sound, random, {}, common::printerPages(), records},
                                [](numira::ChoiceDialog& w) { w.reject(); });
        form.show();
        auto* choose = form.findChild<QPushButton*>("chooseButton");
        choose->click(); // made at its first showing
        QBENCHMARK { choose->click(); }
        QCOMPARE(form.choiceWindow()->findChild<QTabWidget*>("pages")->count(), review ? 6 : 5);
    }
};

QTEST_MAIN(BenchNumira)
#include "bench_numira.moc"
