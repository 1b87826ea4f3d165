// SPDX-License-Identifier: GPL-3.0-or-later
// What a school machine may lack besides the program's own files: an audio
// output, a printer, the Japanese fonts. Without each, the windows still
// build, show their texts and run a drill to its score. (Each picture, sound
// and the help file missing in turn: test_main_window.)
#include "window_fixture.h"

#include "common/qt_sound_player.h"
#include "common/worksheet_page.h"
#include "numira/core/drill.h"
#include "tests/support/doubles.h"
#include "tests/support/missing.h"

#include <QLabel>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <QToolButton>

using Answer = common::Dialogs::Answer;
using numira::MainWindow;

namespace {

template <typename T = QWidget> T* control(const MainWindow& form, const char* name)
{
    return form.findChild<T*>(QLatin1String(name));
}
void answer(MainWindow& form, const QString& text)
{
    auto* edit = control<QLineEdit>(form, "answerEdit");
    edit->clear();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

// Ten problems: seven right at once, one wrong then right, one shown and
// then entered, one wrong then right: 70 points. The caller has fixed the
// number at 10 and chosen a set.
void playTen(MainWindow& form)
{
    const numira::Drill& drill = form.drill();
    for (int k = 1; k <= 7; ++k) answer(form, drill.answer());
    answer(form, drill.answer() + "9");
    answer(form, drill.answer());
    QTest::mouseClick(control(form, "showAnswerButton"), Qt::LeftButton);
    QTest::keyClick(control(form, "answerEdit"), Qt::Key_Return);
    answer(form, drill.answer() + "9");
    answer(form, drill.answer());
}

// The drill with the real sound player instead of a recording one.
struct RealSoundFixture {
    explicit RealSoundFixture(QStringList moduleFolders)
        : sound(std::move(moduleFolders)),
          form({dialogs, sound, random},
               [](numira::ChoiceDialog& window) { ChoiceControls{&window}.choose(0, 6); }),
          choice(*form.choiceWindow())
    {
        common::installJapaneseFonts();
        form.show();
    }
    test_support::ScriptedDialogs dialogs;
    common::QtSoundPlayer sound;
    test_support::SeededRandomSource random{3};
    MainWindow form;
    numira::ChoiceDialog& choice;
};

// Run in a child process (a font once resolved stays cached): the windows
// built and driven under one font condition, named by APP_FONT_CASE.
class FontCase : public QObject {
    Q_OBJECT
private slots:
    void windowsShowTheirTextsAndRun()
    {
        const QString condition = qEnvironmentVariable("APP_FONT_CASE");
        applyFontCase(condition);
        if (QTest::currentTestFailed()) return;

        WindowFixture f;
        qInfo("%s: the problem is drawn with %s", qPrintable(condition),
              qPrintable(QFontInfo(f.edit("problemEdit")->font()).family()));
        f.choice.show();
        // Every text control: its text, its designed pixel size, and the text
        // really drawn (the control looks different without it).
        QList<QWidget*> controls;
        for (QWidget* top : {static_cast<QWidget*>(&f.form), static_cast<QWidget*>(&f.choice)})
            for (QWidget* w : top->findChildren<QWidget*>())
                if (qobject_cast<QLabel*>(w) || qobject_cast<QLineEdit*>(w) ||
                    qobject_cast<QAbstractButton*>(w))
                    controls << w;
        int drawn = 0;
        for (QWidget* w : controls) {
            auto* label = qobject_cast<QLabel*>(w);
            auto* edit = qobject_cast<QLineEdit*>(w);
            auto* button = qobject_cast<QAbstractButton*>(w);
            const QString text = label ? label->text() : edit ? edit->text() : button->text();
            if (text.isEmpty() || !w->isVisibleTo(w->window())) continue;
            checkTextDrawn(w, text, [&](const QString& t) {
                if (label) label->setText(t);
                if (edit) edit->setText(t);
                if (button) button->setText(t);
            });
            if (QTest::currentTestFailed()) return;
            ++drawn;
        }
        QVERIFY(drawn >= 20);
        f.choice.hide();

        f.fix(10);
        f.choose(0, 6);
        QCOMPARE(QFontInfo(f.edit("problemEdit")->font()).pixelSize(), 64);
        playTen(f.form);
        QCOMPARE(f.shows("problemEdit"), u"70てんです。"_qs);
        QCOMPARE(f.dialogs.count("warning"), 0);
    }
};

} // namespace

class TestMissing : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    // No audio output: the real player without its sound module stays
    // silent, and the drill is the same as with sound.
    void noAudioOutput()
    {
        SilentAudioUnset unset;
        QTemporaryDir noModule;
        RealSoundFixture w({noModule.path()});
        w.dialogs.inputs.push_back("10");
        control<QCheckBox>(w.form, "fixedCountBox")->click();
        control<QPushButton>(w.form, "chooseButton")->click();
        playTen(w.form);
        QVERIFY(!w.sound.moduleLoaded());
        QCOMPARE(control<QLineEdit>(w.form, "problemEdit")->text(), u"70てんです。"_qs);
        QCOMPARE(w.dialogs.count("warning"), 0);
    }

    // No printer: the print dialog confirmed, and the job cannot start. One
    // warning with the reason; the run, its set and the message line stay as
    // they were, and the drill goes on to its score.
    void noPrinter_data() { addNoPrinterRows(); }
    void noPrinter()
    {
        QFETCH(QString, output);
        QFETCH(QString, reason);
        if (output == u"default" && !QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("a printer is installed here: the sheet would really be printed");
        WindowFixture f;
        std::unique_ptr<test_support::RecordingSurface> recorded;
        if (output == u"recorded") {
            f.pages = refusedJob(recorded);
        }
        // A PDF file inside a plain file cannot be written, not even by root.
        QTemporaryFile notAFolder;
        QVERIFY(notAFolder.open());
        const QString pdf = notAFolder.fileName() + "/sheet.pdf";
        if (output == u"pdf") {
            f.dialogs.onPrinterSetup = printToPdf(pdf);
        }
        f.fix(10);
        f.choose(0, 6);
        for (int k = 1; k <= 3; ++k) f.answerRight();
        f.answerWrong();
        const numira::RunState before = f.run();
        const QString message = f.shows("messageLine");
        const QString problem = f.shows("problemEdit");

        f.dialogs.answers.push_back(Answer::kYes);
        QTest::mouseClick(f.w("printButton"), Qt::LeftButton);

        QCOMPARE(f.dialogs.count("printer"), 1);
        QCOMPARE(f.dialogs.texts("warning").size(), 1);
        QVERIFY2(f.dialogs.texts("warning").first().contains(reason),
                 qPrintable(f.dialogs.texts("warning").first()));
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(f.shows("messageLine"), message);
        QCOMPARE(f.shows("problemEdit"), problem);
        QCOMPARE(f.run().currentNumber, before.currentNumber);
        QCOMPARE(f.run().firstTryCorrect, before.firstTryCorrect);
        QCOMPARE(f.run().onFirstTry, before.onFirstTry);
        QCOMPARE(f.store().count, 10);
        while (!f.run().finished) f.answerRight();
        QCOMPARE(f.shows("problemEdit"), u"90てんです。"_qs);
        QCOMPARE(f.dialogs.texts("warning").size(), 1);
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
