// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven offscreen: its controls' texts, sizes and fonts, the
// choice window and the choice it returns, and every button, box and key
// passed to the drill with the result shown: texts, pictures, sounds and
// focus. The rules themselves are tested on the drill (test_drill.cpp).
#include "window_fixture.h"

#include "common/version.h"
#include "numira/ui/help_window.h"
#include "tests/support/doubles.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <QToolButton>

using numira::MainWindow;

namespace {
const QString kTypeAnswer = u"こたえをいれてね☆"_qs;
const QString kShowAnswer = u"せいかいをだす"_qs;
const QString kNext = u"つぎのもんだい"_qs;

void sendKey(QWidget* w, QEvent::Type type, bool autoRepeat)
{
    QKeyEvent e(type, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), autoRepeat);
    QApplication::sendEvent(w, &e);
}
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startUp()
    {
        WindowFixture f;
        QCOMPARE(f.form.windowTitle(), u"ヌミラ Ver "_qs + QLatin1String(common::kPackageVersion));
        QCOMPARE(f.shows("titleEdit"), u"もんだいめい"_qs);
        QCOMPARE(f.shows("countEdit"), u"０"_qs);
        QCOMPARE(f.shows("problemEdit"), u"もんだい"_qs);
        QCOMPARE(f.shows("answerEdit"), u"こたえ"_qs);
        QCOMPARE(f.shows("messageLine"), u"もんだいをえらんでね☆"_qs);
        QCOMPARE(f.w<QPushButton>("showAnswerButton")->text(), kShowAnswer);
        QCOMPARE(f.w("helpButton")->toolTip(), u"ヘルプを表示"_qs);
        QCOMPARE(f.w("printButton")->toolTip(), u"問題の印刷"_qs);
        QCOMPARE(f.edit("problemEdit")->geometry(), QRect(16, 8, 513, 72));
        QCOMPARE(f.edit("answerEdit")->font().pixelSize(), 64);
        // The designed faces, drawn with their installed stand-ins.
        QCOMPARE(QFontInfo(f.w("chooseButton")->font()).family(), u"IPAMincho"_qs);
        QCOMPARE(QFontInfo(f.edit("answerEdit")->font()).family(), u"IPAGothic"_qs);
        QVERIFY(f.w("chooseButton")->font().bold());
        QVERIFY(f.edit("problemEdit")->isReadOnly());
        QCOMPARE(f.edit("problemEdit")->focusPolicy(), Qt::ClickFocus);
        QVERIFY(!f.edit("answerEdit")->testAttribute(Qt::WA_InputMethodEnabled));
        QVERIFY(f.run().mascotShowing);
        QVERIFY(!f.w<QLabel>("picture")->pixmap().isNull());
        QCOMPARE(f.dialogs.shown.size(), 0);
    }

    // A font naming a family the database does not know makes Qt look up
    // fallbacks for every script of every text: the largest cost of
    // showing the window, before fonts were resolved in advance.
    void everyFontNamesAnInstalledFamily()
    {
        WindowFixture f;
        const QStringList installed = QFontDatabase::families();
        for (QWidget* top : {static_cast<QWidget*>(&f.form), static_cast<QWidget*>(&f.choice)}) {
            QList<QWidget*> widgets = top->findChildren<QWidget*>();
            widgets.prepend(top);
            for (QWidget* w : widgets)
                QVERIFY2(installed.contains(w->font().family()),
                         qPrintable(w->metaObject()->className() + (" " + w->font().family())));
        }
    }

    // The program's own choice window is made at its first showing and kept,
    // with its settings, for every showing after.
    void choiceWindowMadeAtFirstShowing()
    {
        JapaneseFonts fonts;
        test_support::ScriptedDialogs dialogs;
        test_support::RecordingSoundPlayer sound;
        test_support::SeededRandomSource random{1};
        QList<numira::ChoiceDialog*> shown;
        MainWindow form({dialogs, sound, random}, [&](numira::ChoiceDialog& window) {
            QTabWidget* pages = ChoiceControls{&window}.pages();
            if (!shown.isEmpty()) QCOMPARE(pages->currentIndex(), 1);
            shown << &window;
            pages->setCurrentIndex(1);
            window.reject();
        });
        QVERIFY(form.findChildren<numira::ChoiceDialog*>().isEmpty());
        for (int click = 0; click < 2; ++click)
            form.findChild<QPushButton*>("chooseButton")->click();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0], shown[1]);
        QCOMPARE(form.findChildren<numira::ChoiceDialog*>(),
                 QList<numira::ChoiceDialog*>{shown[0]});
        QCOMPARE(shown[0]->parentWidget(), &form);
    }

    void choiceWindowStartsOnTablePage()
    {
        WindowFixture f;
        const ChoiceControls c = f.choiceControls();
        QCOMPARE(c.pages()->count(), 5);
        QCOMPARE(c.pages()->currentIndex(), 4);
        QCOMPARE(c.list(3)->count(), 11);
        QVERIFY(c.w<QCheckBox>("row2Box")->isChecked());
        // Confirming untouched: row 2 only, from multiplier 1, title 九九.
        c.confirmButton()->click();
        std::optional<numira::ChosenSet> chosen = f.choice.chosenSet();
        QVERIFY(chosen);
        QCOMPARE(chosen->choice.category, 4);
        QCOMPARE(
            chosen->choice.tableRows.rows,
            (std::array<bool, 9>{false, true, false, false, false, false, false, false, false}));
        QCOMPARE(chosen->choice.tableRows.lowestMultiplier, 1);
        QCOMPARE(chosen->title, u"九九"_qs);
        // "ぜんぶのだん" chooses every row; "０をいれる" starts at 0.
        c.w<QCheckBox>("allRowsBox")->setChecked(true);
        c.w<QCheckBox>("withZeroBox")->setChecked(true);
        c.confirmButton()->click();
        chosen = f.choice.chosenSet();
        QCOMPARE(chosen->choice.tableRows.rows,
                 (std::array<bool, 9>{true, true, true, true, true, true, true, true, true}));
        QCOMPARE(chosen->choice.tableRows.lowestMultiplier, 0);
        // The close box: nothing chosen.
        f.choice.reject();
        QVERIFY(!f.choice.chosenSet());
    }

    // Every row box shows its whole text inside its frame: the window is laid
    // out for 120 dpi and shrunk here (96 dpi), where the style's indicator
    // once pushed "ぜんぶのだん" past its box.
    void choiceWindowBoxesShowTheirWholeText()
    {
        WindowFixture f;
        f.choice.show();
        for (QCheckBox* box : f.choice.findChildren<QCheckBox*>()) {
            QVERIFY2(box->width() >= box->sizeHint().width(), qPrintable(box->text()));
            QVERIFY2(box->parentWidget()->contentsRect().contains(box->geometry()),
                     qPrintable(box->text()));
        }
        f.choice.hide();
    }

    void choiceWindowListConfirmation_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<int>("number");
        QTest::newRow("division 10 by button") << 3 << 10 << false << 10;
        QTest::newRow("addition 1 by double click") << 0 << 1 << true << 1;
        QTest::newRow("nothing selected takes item 0") << 2 << -1 << false << 0;
    }
    void choiceWindowListConfirmation()
    {
        QFETCH(int, page);
        QFETCH(int, item);
        QFETCH(bool, doubleClick);
        QFETCH(int, number);
        WindowFixture f;
        const ChoiceControls c = f.choiceControls();
        f.choice.show();
        c.pages()->setCurrentIndex(page);
        QListWidget* list = c.list(page);
        if (item >= 0) list->setCurrentRow(item);
        if (doubleClick) {
            const QRect r = list->visualItemRect(list->item(item));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
        } else {
            QTest::mouseClick(c.confirmButton(), Qt::LeftButton);
        }
        QVERIFY(!f.choice.isVisible());
        const std::optional<numira::ChosenSet> chosen = f.choice.chosenSet();
        QVERIFY(chosen);
        QCOMPARE(chosen->choice.category, page);
        QCOMPARE(chosen->choice.number, number);
        QCOMPARE(chosen->title, list->item(number)->text());
    }

    void choosingShowsTheFirstProblem()
    {
        WindowFixture f;
        f.choose(0, 1);
        QCOMPARE(f.choiceShown, 1);
        // The title keeps the whole item, the 40-byte one included.
        QCOMPARE(f.shows("titleEdit"), f.choiceControls().list(0)->item(1)->text());
        QCOMPARE(f.shows("countEdit"), " 36");
        QCOMPARE(f.shows("numberEdit"), " 1");
        QCOMPARE(f.shows("problemEdit"), f.store().question(1));
        QCOMPARE(f.shows("answerEdit"), u"こたえ"_qs);
        QCOMPARE(f.shows("scoreEdit"), " 0");
        QCOMPARE(f.shows("messageLine"), kTypeAnswer);
        QCOMPARE(f.w<QPushButton>("showAnswerButton")->text(), kShowAnswer);
        QVERIFY(f.edit("answerEdit")->hasFocus());
    }

    // The warm-up where the records do not know the child's keying: the
    // number to type as it is, with no score; then the set chosen.
    void warmUp_data()
    {
        QTest::addColumn<bool>("known");
        QTest::newRow("keying not known") << false;
        QTest::newRow("keying known") << true;
    }
    void warmUp()
    {
        QFETCH(bool, known);
        WindowFixture f;
        f.records.keying = known;
        f.choose(0, 2);
        if (!known) {
            f.answerWrong();
            QCOMPARE(
                (QStringList{f.shows("titleEdit"), f.shows("countEdit"), f.shows("scoreEdit")}),
                (QStringList{u"じゅんびうんどう"_qs, " 5", ""}));
            QCOMPARE(f.shows("problemEdit"), f.currentAnswer());
            QTest::keyClick(f.edit("answerEdit"), Qt::Key_1);
            QCOMPARE(f.shows("messageLine"), u"でたかずをそのままいれてね☆"_qs);
            for (int k = 0; k < 5; ++k) f.answerRight();
            QTest::keyClick(f.edit("answerEdit"), Qt::Key_1);
        }
        QCOMPARE(f.shows("titleEdit"), f.choiceControls().list(0)->item(2)->text());
        QCOMPARE(f.shows("problemEdit"), f.store().question(1));
        QCOMPARE(f.shows("scoreEdit"), " 0");
        QCOMPARE(f.shows("messageLine"), kTypeAnswer);
    }

    void buttonsBeforeAnyChoice()
    {
        WindowFixture f;
        f.click("showAnswerButton");
        QCOMPARE(f.shows("answerEdit"), u"こたえ"_qs);
        QCOMPARE(f.w<QPushButton>("showAnswerButton")->text(), kShowAnswer);
        f.answer("0");
        QCOMPARE(f.shows("messageLine"), u"もんだいをえらんでね☆"_qs);
        QCOMPARE(f.sound.played.size(), 0);
        // Start again before a set: counters reset, the empty first slot shown.
        f.click("startAgainButton");
        QCOMPARE(f.shows("numberEdit"), " 1");
        QCOMPARE(f.shows("countEdit"), "0");
        QCOMPARE(f.shows("problemEdit"), QString());
        QCOMPARE(f.shows("scoreEdit"), "0");
    }

    // The three ends of a run, each shown with its score; after them Return
    // and the show-answer button change nothing, and "はじめから" starts the
    // same set again.
    void endOfRun_data()
    {
        QTest::addColumn<QString>("script"); // f<n> fix, n choose, r right, e right with the number
                                             // pad's Enter, w wrong, s show-answer button
        QTest::addColumn<QString>("score");
        QTest::addColumn<bool>("focusChoose");
        QTest::newRow("last right answer") << "f2n rwr" << u"50てんです。"_qs << true;
        QTest::newRow("answered with the number pad's Enter")
            << "f2n ewe" << u"50てんです。"_qs << true;
        QTest::newRow("answer asked beyond a lowered count")
            << "n rrrrr f3 s" << u"100てんです。"_qs << true;
        QTest::newRow("next after the last answer shown") << "f1n ss" << u"0てんです。"_qs << false;
    }
    void endOfRun()
    {
        QFETCH(QString, script);
        QFETCH(QString, score);
        QFETCH(bool, focusChoose);
        WindowFixture f;
        for (qsizetype i = 0; i < script.size(); ++i) {
            const QChar c = script[i];
            if (c == u'f')
                f.fix(script[++i].digitValue());
            else if (c == u'n')
                f.choose(0, 4);
            else if (c == u'r')
                f.answerRight();
            else if (c == u'e') {
                f.type(f.currentAnswer());
                QTest::keyClick(f.edit("answerEdit"), Qt::Key_Enter, Qt::KeypadModifier);
            } else if (c == u'w')
                f.answerWrong();
            else if (c == u's')
                f.click("showAnswerButton");
        }
        QCOMPARE(f.shows("problemEdit"), score);
        QCOMPARE(f.shows("answerEdit"), u"おしまいです。"_qs);
        QCOMPARE(f.shows("messageLine"), u"下のボタンでえらんでね☆"_qs);
        QCOMPARE(f.w("chooseButton")->hasFocus(), focusChoose);
        const qsizetype sounds = f.sound.played.size();
        f.answer("1");
        f.click("showAnswerButton");
        QCOMPARE(f.sound.played.size(), sounds);
        QCOMPARE(f.shows("problemEdit"), score);
        QTest::mouseClick(f.w("startAgainButton"), Qt::LeftButton);
        QCOMPARE(f.shows("countEdit"), QString::number(f.store().count));
        QCOMPARE(f.shows("numberEdit"), " 1");
        QCOMPARE(f.shows("problemEdit"), f.store().question(1));
        QCOMPARE(f.shows("scoreEdit"), "0");
        QCOMPARE(f.w<QPushButton>("showAnswerButton")->text(), kShowAnswer);
    }

    void fixedNumber_data()
    {
        QTest::addColumn<QString>("typed"); // null: the box cancelled, which gives its preset
        QTest::addColumn<QString>("count"); // empty: refused
        QTest::newRow("5") << "5"
                           << " 5";
        QTest::newRow("cancelled: 10") << QString() << " 10";
        QTest::newRow("abc refused") << "abc" << QString();
    }
    void fixedNumber()
    {
        QFETCH(QString, typed);
        QFETCH(QString, count);
        const bool accepted = !count.isEmpty();
        WindowFixture f;
        f.choose(0, 4);
        if (!typed.isNull()) f.dialogs.inputs.push_back(typed);
        auto* box = f.w<QCheckBox>("fixedCountBox");
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(f.dialogs.count("input"), 1);
        QVERIFY(f.dialogs.texts("input").first().startsWith(
            u"なんもんやるかをきめます\nもんだいすうは？ OK はマウスでクリック！\n10"_qs));
        QCOMPARE(box->isChecked(), accepted);
        QCOMPARE(f.shows("countEdit"), accepted ? count : " 100");
        if (!accepted)
            QCOMPARE(f.dialogs.texts("error"),
                     QStringList{"'" + typed + u"' は整数ではありません"_qs});
        QVERIFY(f.edit("answerEdit")->hasFocus());
        if (!accepted) return;
        // Released again: the set's own size.
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(!box->isChecked());
        QCOMPARE(f.shows("countEdit"), " 100");
    }

    // The review page: hidden with records off, a set of what was missed
    // with records on, and no set when nothing is due.
    void reviewPage_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<int>("problems");
        QTest::newRow("records off: five pages") << false << 0;
        QTest::newRow("nothing due: no set") << true << 0;
        QTest::newRow("due facts drilled") << true << 2;
    }
    void reviewPage()
    {
        QFETCH(bool, on);
        QFETCH(int, problems);
        WindowFixture f;
        if (on) f.records.review = QList<common::ReviewProblem>();
        for (int i = 0; i < problems; ++i)
            f.records.review->append({"mul:7x8", "7x8", "56", i == 0});
        int visible = -1;
        f.answerChoice = [&](numira::ChoiceDialog& window) {
            QTabWidget* pages = ChoiceControls{&window}.pages();
            visible = pages->count();
            if (on) ChoiceControls{&window}.choose(numira::kReview, 0);
        };
        f.click("chooseButton");
        QCOMPARE(visible, on ? 6 : 5);
        QCOMPARE(f.shows("titleEdit") == u"にがて"_qs, problems > 0);
        if (problems) {
            QCOMPARE(f.shows("problemEdit"), "7x8");
            QCOMPARE(f.form.drill().count(), problems);
        }
    }

    // The day's page: none with records off; with records on the review page
    // grown into it and shown first, with the day's size and this month's marks;
    // its set run, and its end told on the message line (はなまる: the right cue).
    void dayPage_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<int>("facts");
        QTest::addColumn<bool>("mark");
        QTest::addColumn<QStringList>("passed");
        QTest::addColumn<QString>("message");
        QTest::newRow("records off") << false << 0 << false << QStringList{} << QString();
        QTest::newRow("the mark and a kind passed")
            << true << 2 << true << QStringList{"add:3"} << u"はなまる！ たしざん4 ごうかく！"_qs;
        QTest::newRow("placed past rows")
            << true << 1 << false << QStringList{"table:5", "divrow:3"}
            << u"3のだんのわりざんまで ごうかく！"_qs;
        QTest::newRow("nothing earned")
            << true << 1 << false << QStringList{} << u"下のボタンでえらんでね☆"_qs;
        QTest::newRow("nothing left to practise")
            << true << 0 << false << QStringList{} << QString();
    }
    void dayPage()
    {
        QFETCH(bool, on);
        QFETCH(int, facts);
        QFETCH(bool, mark);
        QFETCH(QStringList, passed);
        QFETCH(QString, message);
        WindowFixture f;
        const QDate today = QDate::currentDate();
        const QList<QDate> marked{QDate(today.year(), today.month(), 1), today};
        if (on) {
            common::DayPage day{{"table:7", {}, {}, 0, 3, false}, {marked, 1, false}};
            for (int k = 0; k < facts; ++k) day.set.problems.append({"mul:7x8", "7x8", "56", true});
            f.records.day = day;
            f.records.review = QList<common::ReviewProblem>();
            f.records.outcome = common::DayOutcome{mark, passed, {}};
        }
        QWidget* dayPage = f.choice.findChild<QWidget*>("reviewPage");
        f.answerChoice = [&](numira::ChoiceDialog& window) {
            QTabWidget* pages = ChoiceControls{&window}.pages();
            QCOMPARE(pages->count(), on ? 6 : 5);
            QCOMPARE(pages->currentWidget() == dayPage, on);
            if (!on) return window.reject();
            QCOMPARE(dayPage->findChild<QLabel*>("dayText")->text().contains(
                         u"きょうは%1もん"_qs.arg(facts)),
                     facts > 0);
            QCOMPARE(dayPage->findChild<QLabel*>("inRowText")->text(),
                     u"1にち つづけて できたよ！"_qs);
            int flowers = 0;
            for (const QLabel* cell : dayPage->findChildren<QLabel*>())
                flowers +=
                    cell->accessibleName().endsWith(u"はなまる"_qs) && cell->isVisibleTo(dayPage);
            QCOMPARE(flowers, QSet<QDate>(marked.begin(), marked.end()).size());
            QCOMPARE(ChoiceControls{&window}.confirmButton()->isEnabled(), facts > 0);
            dayPage->findChild<QPushButton*>("dayButton")->click();
        };
        f.click("chooseButton");
        QCOMPARE(f.shows("titleEdit") == u"きょうのれんしゅう"_qs, facts > 0);
        if (!facts) return;
        for (int k = 0; k < facts; ++k) f.answerRight();
        QCOMPARE(f.records.events.first(), u"set numira today:table:7 %1"_qs.arg(facts));
        QVERIFY(f.records.events.last(2)[0].startsWith("end ") && f.records.events.last() == "day");
        QCOMPARE(f.shows("messageLine"), message);
        QCOMPARE(f.sound.played.count("maru1.wav"), facts + (mark ? 1 : 0));
    }

    void emptyTableChoiceAsksAgainUntilClosed()
    {
        WindowFixture f;
        f.choose(0, 0);
        const QString before = f.store().question(1);
        f.answerChoice = [&f](numira::ChoiceDialog& window) {
            for (auto* box : window.findChildren<QCheckBox*>()) box->setChecked(false);
            if (f.choiceShown < 4)
                ChoiceControls{&window}.choose(4, 0); // confirmed with no row
            else
                window.reject(); // then the close box
        };
        f.click("chooseButton");
        QCOMPARE(f.choiceShown, 4);
        QCOMPARE(f.shows("countEdit"), " 45");
        QCOMPARE(f.shows("problemEdit"), before);
    }

    void answering()
    {
        WindowFixture f;
        f.choose(0, 4);
        f.answerRight();
        QCOMPARE(f.shows("messageLine"), u"せいかいです！"_qs);
        QCOMPARE(f.sound.played, QStringList{"maru1.wav"});
        QCOMPARE(f.shows("scoreEdit"), " 100");
        QCOMPARE(f.shows("numberEdit"), " 2");
        QCOMPARE(f.shows("problemEdit"), f.store().question(2));
        QCOMPARE(f.shows("answerEdit"), QString());
        QVERIFY(f.edit("answerEdit")->hasFocus());
        QVERIFY(!f.run().mascotShowing);

        // A key after the released Return brings the mascot back.
        QTest::keyClick(f.edit("answerEdit"), Qt::Key_1);
        QVERIFY(f.run().mascotShowing);
        QCOMPARE(f.shows("messageLine"), kTypeAnswer);

        f.answerWrong();
        QCOMPARE(f.shows("messageLine"), u"ぶ～　まちがえたよ"_qs);
        QCOMPARE(f.sound.played.last(), "batu1.wav");
        QCOMPARE(f.shows("scoreEdit"), " 50");
        QCOMPARE(f.shows("numberEdit"), " 2");

        // The answer shown, then the next problem.
        auto* show = f.w<QPushButton>("showAnswerButton");
        QTest::mouseClick(show, Qt::LeftButton);
        QCOMPARE(f.shows("answerEdit"), f.store().answer(2));
        QCOMPARE(show->text(), kNext);
        QTest::mouseClick(show, Qt::LeftButton);
        QCOMPARE(f.shows("problemEdit"), f.store().question(3));
        QCOMPARE(f.shows("numberEdit"), " 3");
        QCOMPARE(f.shows("answerEdit"), QString());
        QCOMPARE(show->text(), kShowAnswer);
    }

    // Return held down: auto-repeated presses are judged once, with one sound.
    void heldReturnJudgesOnce_data()
    {
        QTest::addColumn<bool>("right");
        QTest::newRow("right answer") << true;
        QTest::newRow("wrong answer") << false;
    }
    void heldReturnJudgesOnce()
    {
        QFETCH(bool, right);
        WindowFixture f;
        f.choose(0, 4);
        f.type(right ? f.currentAnswer() : f.currentAnswer() + "9");
        QWidget* e = f.edit("answerEdit");
        sendKey(e, QEvent::KeyPress, false);
        for (int k = 0; k < 5; ++k) {
            sendKey(e, QEvent::KeyRelease, true);
            sendKey(e, QEvent::KeyPress, true);
        }
        QCOMPARE(f.shows("numberEdit"), right ? " 2" : " 1");
        QCOMPARE(f.sound.played, QStringList{right ? "maru1.wav" : "batu1.wav"});
        QVERIFY(!f.run().returnArmed);
        sendKey(e, QEvent::KeyRelease, false);
        QVERIFY(f.run().returnArmed);
    }

    // Every picture, sound and the help file missing in turn: a ten-problem
    // run still judges, scores and ends, and the missing file is reported
    // once, by name, however often it is needed.
    void missingFilesNeverStopTheDrill_data()
    {
        QTest::addColumn<QString>("missing");
        for (const char* name :
             {"mascot.bmp", "maru1.bmp", "batu1.bmp", "maru1.wav", "batu1.wav", "numira.hlp"})
            QTest::newRow(name) << name;
    }
    void missingFilesNeverStopTheDrill()
    {
        QFETCH(QString, missing);
        QTemporaryDir dir;
        const QString source = qEnvironmentVariable("APP_RUNTIME_DIR");
        for (const char* name :
             {"mascot.bmp", "maru1.bmp", "batu1.bmp", "maru1.wav", "batu1.wav", "numira.hlp"})
            if (missing != QLatin1String(name))
                QVERIFY(QFile::copy(source + "/" + name, dir.filePath(name)));
        WindowFixture f(common::AssetLocator({dir.path()}));
        f.fix(10);
        f.choose(0, 6);
        for (int k = 1; k <= 7; ++k) f.answerRight();
        QTest::mouseClick(f.w("helpButton"), Qt::LeftButton);
        f.answerWrong(); // problem 8: wrong, then right
        f.answerRight();
        QTest::mouseClick(f.w("showAnswerButton"), Qt::LeftButton); // problem 9: shown, then Return
        f.pressReturn();
        QCOMPARE(f.shows("numberEdit"), " 10");
        QCOMPARE(f.shows("scoreEdit"), " 77");
        f.answerWrong(); // problem 10
        f.answerRight();
        QCOMPARE(f.shows("problemEdit"), u"70てんです。"_qs);
        QCOMPARE(f.shows("answerEdit"), u"おしまいです。"_qs);
        QCOMPARE(f.dialogs.texts("warning").size(), 1);
        QVERIFY(f.dialogs.texts("warning").first().contains(missing));
        QCOMPARE(f.sound.played.count("maru1.wav"), missing == "maru1.wav" ? 0 : 10);
        QCOMPARE(f.sound.played.count("batu1.wav"), missing == "batu1.wav" ? 0 : 2);
        QCOMPARE(f.form.helpWindow()->isVisible(), missing != "numira.hlp");
    }

    void help()
    {
        WindowFixture f;
        QTest::mouseClick(f.w("helpButton"), Qt::LeftButton);
        QVERIFY(f.form.helpWindow() && f.form.helpWindow()->isVisible());
        QVERIFY(f.form.helpWindow()->toPlainText().contains(u"もんだいえらび"_qs));

        QTemporaryDir empty;
        WindowFixture g(common::AssetLocator({empty.path()}));
        g.click("helpButton");
        QCOMPARE(g.dialogs.count("warning"), 2); // the mascot, then the help file
        QVERIFY(g.dialogs.texts("warning").last().contains("numira.hlp"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
