// SPDX-License-Identifier: GPL-3.0-or-later
// What a school machine may lack besides the program's own files: an audio
// output, a printer, the Japanese fonts. Without each, the window still
// builds, shows its texts and runs a set to its score. (Each picture and
// sound missing in turn: test_main_window.)
#include "window_fixture.h"

#include "common/qt_sound_player.h"
#include "tests/support/missing.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QPrinterInfo>
#include <QTemporaryFile>

using Answer = common::Dialogs::Answer;

namespace {

// A window printing to the real printer, with the sound player given.
struct RealPrinterFixture : WindowFixture {
    explicit RealPrinterFixture(common::SoundPlayer& player)
        : WindowFixture(11, {ASSET_DIR}, &player)
    {
        pages = common::printerPages();
    }
    // Fixes ten problems and starts a set.
    void startTen()
    {
        fix("10");
        click("startButton");
    }
    // Seven right at once, one wrong then right, one shown and then
    // entered, one wrong then right: 70 points.
    void playTen()
    {
        startTen();
        for (int k = 1; k <= 7; ++k) answerRight();
        answerWrong();
        answerRight();
        click("showAnswerButton");
        pressReturn();
        answerWrong();
        answerRight();
    }
};

// Run in a child process (a font once resolved stays cached): the window
// built and driven under one font condition, named by APP_FONT_CASE.
class FontCase : public QObject {
    Q_OBJECT
private slots:
    void windowShowsItsTextsAndRuns()
    {
        const QString condition = qEnvironmentVariable("APP_FONT_CASE");
        applyFontCase(condition);
        if (QTest::currentTestFailed()) return;

        test_support::RecordingSoundPlayer sound;
        RealPrinterFixture win(sound);
        win.click("startButton"); // a problem on show
        qInfo("%s: the problem is drawn with %s", qPrintable(condition),
              qPrintable(QFontInfo(win.w("firstEdit")->font()).family()));
        // Every text control: its text, its designed pixel size, and the text
        // really drawn (the control looks different without it).
        int drawn = 0;
        for (QWidget* w : win.form.findChildren<QWidget*>()) {
            auto* label = qobject_cast<QLabel*>(w);
            auto* edit = qobject_cast<QLineEdit*>(w);
            auto* button = qobject_cast<QAbstractButton*>(w);
            auto* group = qobject_cast<QGroupBox*>(w);
            if (!label && !edit && !button && !group) continue;
            const QString text = label    ? label->text()
                                 : edit   ? edit->text()
                                 : button ? button->text()
                                          : group->title();
            if (text.isEmpty()) continue;
            auto setText = [&](const QString& t) {
                if (label) label->setText(t);
                if (edit) edit->setText(t);
                if (button) button->setText(t);
                if (group) group->setTitle(t);
            };
            checkTextDrawn(w, text, setText);
            if (QTest::currentTestFailed()) return;
            ++drawn;
        }
        QVERIFY(drawn >= 20);

        win.playTen();
        QCOMPARE(win.shows("messageLine"), endMessage(70));
        QCOMPARE(win.dialogs.count("warning"), 0);
    }
};

} // namespace

class TestMissing : public QObject {
    Q_OBJECT
private slots:
    // No audio output: the real player without its sound module stays
    // silent, and the set is the same as with sound.
    void noAudioOutput()
    {
        SilentAudioUnset unset;
        QTemporaryDir noModule;
        common::QtSoundPlayer sound({noModule.path()});
        RealPrinterFixture win(sound);
        win.playTen();
        QVERIFY(!sound.moduleLoaded());
        QCOMPARE(win.shows("messageLine"), endMessage(70));
        QCOMPARE(win.dialogs.count("warning"), 0);
    }

    // No printer: the print dialog confirmed, and the job cannot start. One
    // warning with the reason; the problem, the counters and the message line
    // stay as they were (no restart), and the set goes on to its score.
    void noPrinter_data() { addNoPrinterRows(); }
    void noPrinter()
    {
        QFETCH(QString, output);
        QFETCH(QString, reason);
        if (output == u"default" && !QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("a printer is installed here: the sheet would really be printed");
        test_support::RecordingSoundPlayer sound;
        RealPrinterFixture win(sound);
        std::unique_ptr<test_support::RecordingSurface> recorded;
        if (output == u"recorded") {
            win.pages = refusedJob(recorded);
        }
        // A PDF file inside a plain file cannot be written, not even by root.
        QTemporaryFile notAFolder;
        QVERIFY(notAFolder.open());
        const QString pdf = notAFolder.fileName() + "/sheet.pdf";
        if (output == u"pdf") {
            win.dialogs.onPrinterSetup = printToPdf(pdf);
        }
        win.startTen();
        for (int k = 1; k <= 3; ++k) win.answerRight();
        win.answerWrong();
        const bairo::RunState before = win.run();
        QStringList shown;
        for (const char* name : {"firstEdit", "secondEdit", "kindEdit", "answerEdit", "numberEdit",
                                 "scoreEdit", "messageLine"})
            shown << win.shows(name);

        win.dialogs.answers.push_back(Answer::kYes);
        win.click("printButton");

        QCOMPARE(win.dialogs.count("printer"), 1);
        QCOMPARE(win.dialogs.texts("warning").size(), 1);
        QVERIFY2(win.dialogs.texts("warning").first().contains(reason),
                 qPrintable(win.dialogs.texts("warning").first()));
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(win.run() == before);
        QStringList shownAfter;
        for (const char* name : {"firstEdit", "secondEdit", "kindEdit", "answerEdit", "numberEdit",
                                 "scoreEdit", "messageLine"})
            shownAfter << win.shows(name);
        QCOMPARE(shownAfter, shown);
        QCOMPARE(win.edit("messageLine")->palette().color(QPalette::Text), QColor(0, 128, 0));
        // Seven problems are left; a drill that never ends the set fails here.
        for (int k = 0; k < 7 && !win.shows("messageLine").startsWith(u"おしまい"_qs); ++k)
            win.answerRight();
        QCOMPARE(win.shows("messageLine"), endMessage(90));
        QCOMPARE(win.dialogs.texts("warning").size(), 1);
    }

    // A font missing: the designed names unknown to the machine, mapped to a
    // family that is not installed, or no Japanese font at all. Each runs in
    // a child process of this test, since a font once resolved stays cached.
    void fontMissing_data() { addFontMissingRows(); }
    void fontMissing()
    {
        QFETCH(QString, condition);
        runFontCase(condition);
    }
};

int main(int argc, char** argv) { return missingMain<TestMissing, FontCase>(argc, argv); }

#include "test_missing.moc"
