// SPDX-License-Identifier: GPL-3.0-or-later
// The drill window driven through its keyboard and mouse: the window's
// frame and tab order, what each result of the drill shows, the
// number-of-problems box, a held Return, and missing pictures and sounds.
#include "bairo/version.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QStyle>
#include <QTemporaryDir>
#include <QToolTip>

namespace {

// Scenario tokens: S start, B show answer / next, R right answer, N right
// answer with the number pad's Enter, W a wrong answer, E Return on the field
// as it is, T<text> typing, F<n> fixing the number of problems, K<i>/L<i>
// kind/level item, V the missed pairs' button.
void run(WindowFixture& f, const QString& script)
{
    for (const QString& t : script.split(u' ', Qt::SkipEmptyParts)) {
        const QString arg = t.mid(1);
        switch (t[0].unicode()) {
        case 'S': f.click("startButton"); break;
        case 'B': f.click("showAnswerButton"); break;
        case 'R': f.answerRight(); break;
        case 'N':
            f.type(QString::number(f.answer()));
            QTest::keyClick(f.edit("answerEdit"), Qt::Key_Enter, Qt::KeypadModifier);
            break;
        case 'W': f.answerWrong(); break;
        case 'E': f.pressReturn(); break;
        case 'T': QTest::keyClicks(f.edit("answerEdit"), arg); break;
        case 'F': f.fix(arg); break;
        case 'K': f.clickItem(arg == u"1" ? "gcdButton" : "lcmButton"); break;
        case 'L': f.clickItem(arg == u"1" ? "hardButton" : "easyButton"); break;
        case 'V': f.click("reviewButton"); break;
        default: QFAIL(qPrintable(u"unknown token "_qs + t));
        }
    }
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void window()
    {
        WindowFixture d;
        QCOMPARE(d.form.windowTitle(), u"バイロ Ver"_qs + QLatin1String(bairo::kVersion));
        QCOMPARE(d.form.pos(), QPoint(11, 28));
        QCOMPARE(d.form.minimumSize(), QSize(598, 500));
        QCOMPARE(d.form.maximumSize(), QSize(598, 500));
        QVERIFY(!d.edit("answerEdit")->testAttribute(Qt::WA_InputMethodEnabled));
        // Every font names an installed family (the stand-in of its designed
        // face): an unknown name makes Qt look up fallbacks for every text.
        const QStringList installed = QFontDatabase::families();
        QList<QWidget*> widgets = d.form.findChildren<QWidget*>();
        widgets << &d.form;
        for (QWidget* w : widgets)
            QVERIFY2(installed.contains(w->font().family()),
                     qPrintable(w->objectName() + " " + w->font().family()));
        QCOMPARE(QFontInfo(d.edit("answerEdit")->font()).family(), u"IPAPGothic"_qs);
        QCOMPARE(d.picture(), u"mascot.bmp"_qs);
        QVERIFY(!d.w<QPushButton>("printButton")->icon().isNull());
        QCOMPARE(d.w<QPushButton>("printButton")->iconSize(), QSize(33, 33));
        for (const char* name : {"firstEdit", "secondEdit", "kindEdit", "numberEdit", "scoreEdit",
                                 "messageLine", "countEdit"}) {
            QVERIFY(d.edit(name)->isReadOnly());
            QVERIFY(!(d.edit(name)->focusPolicy() & Qt::TabFocus));
        }
        // Tab order through the controls that take the Tab key.
        QStringList chain;
        QWidget* at = d.w("lcmButton");
        do {
            if (at->focusPolicy() & Qt::TabFocus) chain << at->objectName();
            at = at->nextInFocusChain();
        } while (at != d.w("lcmButton"));
        QCOMPARE(chain, QStringList({"lcmButton", "gcdButton", "easyButton", "hardButton",
                                     "startButton", "quitButton", "answerEdit", "showAnswerButton",
                                     "fixedCountBox", "printButton"}));
        // Hints: aqua, after 100 ms.
        QCOMPARE(QToolTip::palette().color(QPalette::ToolTipBase), QColor(0, 255, 255));
        QCOMPARE(d.w("startButton")->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 100);
        // A radio item shows its group's hint.
        QWidget* item = d.w("hardButton");
        QHelpEvent help(QEvent::ToolTip, {5, 5}, item->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(item, &help);
        QCOMPARE(QToolTip::text(), u"むずかしい問題は大きな数"_qs);
        // "おしまい" closes the window without asking.
        d.click("quitButton");
        QVERIFY(!d.form.isVisible());
        QCOMPARE(d.dialogs.shown.size(), 0);
    }

    // What the child sees of each result of the drill: texts, colour,
    // picture and sound. Observed: kindEdit (* not looked at), answerEdit (=
    // the answer of the problem shown), numberEdit, scoreEdit, messageLine,
    // showAnswerButton, messageLine red, the picture, maru1.wav and batu1.wav
    // played. The rules behind them are the drill's (test_drill.cpp).
    void states_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("expected");
        auto row = [](const char* name, const char* script, const QStringList& expected) {
            QTest::newRow(name) << QString::fromLatin1(script) << expected;
        };
        const QString m = u"mascot.bmp"_qs, o = u"maru1.bmp"_qs, x = u"batu1.bmp"_qs;
        const QString lcm = u"最小公倍数"_qs, gcd = u"最大公約数"_qs;
        // clang-format off
        row("before start", "", {"***", "***", "0", "0", u"問題を選んでスタートボタンを押してね"_qs, kShowAnswer, "0", m, "0", "0"});
        row("start", "S", {lcm, "", "1", "0", kTypeAndReturn, kShowAnswer, "0", m, "0", "0"});
        row("right moves on", "S R", {lcm, "", "2", "100", kRight, kShowAnswer, "0", o, "1", "0"});
        row("the number pad's Enter judges too", "S N", {lcm, "", "2", "100", kRight, kShowAnswer, "0", o, "1", "0"});
        row("key press after praise", "S R T5", {lcm, "5", "2", "100", kTypeAndReturn, kShowAnswer, "0", m, "1", "0"});
        row("wrong stays", "S R W", {"*", "9973", "2", "50", kWrong, kShowAnswer, "0", x, "1", "1"});
        row("a smaller common multiple", "S T0 E", {lcm, "0", "1", "0", kSmallerMultiple, kShowAnswer, "0", x, "0", "1"});
        row("a larger common divisor", "K1 S T-1 E", {gcd, "-1", "1", "0", kLargerDivisor, kShowAnswer, "0", x, "0", "1"});
        row("show answer brings the mascot back", "S W B", {"*", "=", "1", "0", kTypeAndReturn, kNext, "0", m, "0", "1"});
        row("next problem", "S B B", {"*", "", "2", "0", kTypeAndReturn, kShowAnswer, "0", m, "0", "0"});
        row("right on the last ends the set", "F2 S R R", {"*", "=", "2", "100", endMessage(100), kShowAnswer, "1", o, "2", "0"});
        row("show answer on the last", "F2 S R B", {"*", "=", "2", "100", endMessage(50), kShowAnswer, "1", o, "1", "0"});
        row("start after the end", "F2 S R R S", {"*", "", "1", "0", kTypeAndReturn, kShowAnswer, "0", o, "2", "0"});
        row("Return before start is ignored", "E T12 E", {"***", "***12", "0", "0", u"問題を選んでスタートボタンを押してね"_qs, kShowAnswer, "0", m, "0", "0"});
        row("start takes the kind", "K1 L1 S", {gcd, "", "1", "0", kTypeAndReturn, kShowAnswer, "0", m, "0", "0"});
        // clang-format on
    }
    void states()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, expected);
        WindowFixture d;
        run(d, script);
        const QColor colour = d.edit("messageLine")->palette().color(QPalette::Text);
        QStringList seen{d.shows("kindEdit"),
                         d.shows("answerEdit"),
                         d.shows("numberEdit"),
                         d.shows("scoreEdit"),
                         d.shows("messageLine"),
                         d.w<QPushButton>("showAnswerButton")->text(),
                         QString::number(colour == QColor(255, 0, 0)),
                         d.picture(),
                         QString::number(d.played(u"maru1.wav"_qs)),
                         QString::number(d.played(u"batu1.wav"_qs))};
        if (expected[0] == u"*") seen[0] = u"*"_qs;
        if (expected[1] == u"=") expected[1] = QString::number(d.answer());
        QCOMPARE(seen, expected);
        QVERIFY(colour == QColor(255, 0, 0) || colour == QColor(0, 128, 0));
        QCOMPARE(d.dialogs.count(u"warning"_qs), 0);
    }

    // The missed pairs' button is there with records on only, in room of
    // its own, last in the tab order.
    void reviewButtonOnlyWithRecords()
    {
        QVERIFY(!WindowFixture().w("reviewButton"));
        test_support::RecordingRecords records;
        WindowFixture on(2024, {ASSET_DIR}, nullptr, records);
        QWidget* button = on.w("reviewButton");
        QVERIFY(button && button->isVisible() && on.form.rect().contains(button->geometry()));
        for (QWidget* other : on.form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY(other == button || !other->geometry().intersects(button->geometry()));
        QCOMPARE(on.w("printButton")->nextInFocusChain(), button);
    }

    // What the button starts, from what the records give: the pairs in
    // order, each judged by its own kind, then drawing again; a message
    // when nothing is due or the records cannot say.
    void review_data()
    {
        QTest::addColumn<QStringList>("pairs"); // "-": the records cannot say
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("shown"); // first, second, kind, count, message
        QTest::addColumn<QStringList>("sets");  // the sets begun and ended
        const QString lcm = u"最小公倍数"_qs, gcd = u"最大公約数"_qs;
        const QStringList two{"gcd:12,18", "mul:7x8", "lcm:4,6"};
        // clang-format off
        QTest::newRow("nobody known") << QStringList{"-"} << "V" << QStringList{"***", "***", "***", "100", u"いまは にがてを よびだせないよ"_qs} << QStringList{};
        QTest::newRow("nothing due") << QStringList{} << "S V" << QStringList{"*", "*", lcm, "100", u"いまは にがてな もんだいは ないよ☆"_qs} << QStringList{"set bairo lcm:easy 100"};
        QTest::newRow("no pair among them") << QStringList{"mul:7x8"} << "V" << QStringList{"***", "***", "***", "100", u"いまは にがてな もんだいは ないよ☆"_qs} << QStringList{};
        QTest::newRow("the first pair") << two << "V" << QStringList{"12", "18", gcd, "2", kTypeAndReturn} << QStringList{"set bairo review 2"};
        QTest::newRow("judged by its own kind") << two << "K0 V T3 E" << QStringList{"12", "18", gcd, "2", kLargerDivisor} << QStringList{"set bairo review 2"};
        QTest::newRow("the next pair") << two << "V R" << QStringList{"4", "6", lcm, "2", kRight} << QStringList{"set bairo review 2"};
        QTest::newRow("the end, then drawn again") << two << "K1 V R R" << QStringList{"4", "6", lcm, "100", endMessage(100)} << QStringList{"set bairo review 2", "end 100", "set bairo gcd:easy 100"};
        QTest::newRow("no longer than the fixed count") << two << "F1 V R" << QStringList{"12", "18", gcd, "1", endMessage(100)} << QStringList{"set bairo review 1", "end 100", "set bairo lcm:easy 1"};
        // clang-format on
    }
    void review()
    {
        QFETCH(QStringList, pairs);
        QFETCH(QString, script);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, sets);
        test_support::RecordingRecords records;
        if (pairs != QStringList{"-"}) {
            records.pairReview.emplace();
            for (const QString& fact : pairs) records.pairReview->append({fact, {}, {}, true});
        }
        WindowFixture d(2024, {ASSET_DIR}, nullptr, records);
        run(d, script);
        QStringList seen;
        for (const char* name : {"firstEdit", "secondEdit", "kindEdit", "countEdit", "messageLine"})
            seen << d.shows(name);
        for (int i = 0; i < 2; ++i)
            if (shown[i] == u"*") seen[i] = u"*"_qs;
        QCOMPARE(seen, shown);
        QCOMPARE(records.events.filter(QRegularExpression("^(set|end) ")), sets);
        // The child's line holds the message whole.
        const QLineEdit* line = d.edit("messageLine");
        QVERIFY(line->fontMetrics().horizontalAdvance(line->text()) < line->width());
    }

    // The count box's reading and clamping are the window kit's; here, that
    // its answer reaches the drill and the tick.
    void setSizeBox_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("edit8");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("boxes");
        QTest::newRow("7") << "F7"
                           << "7" << true << "" << 1;
        QTest::newRow("cancel gives 10") << "F"
                                         << "10" << true << "" << 1;
        QTest::newRow("abc refused") << "Fabc"
                                     << "100" << false << u"'abc' は整数ではありません"_qs << 1;
        QTest::newRow("refused after a release")
            << "F7 F F12a"
            << "100" << false << u"'12a' は整数ではありません"_qs << 2;
        QTest::newRow("unchecking needs no box") << "F7 F"
                                                 << "100" << false << "" << 1;
    }
    void setSizeBox()
    {
        QFETCH(QString, script);
        QFETCH(QString, edit8);
        QFETCH(bool, checked);
        QFETCH(QString, error);
        QFETCH(int, boxes);
        WindowFixture d;
        run(d, script);
        QCOMPARE(d.shows("countEdit"), edit8);
        QCOMPARE(d.drill().count(), edit8.toInt());
        QCOMPARE(d.w<QCheckBox>("fixedCountBox")->isChecked(), checked);
        QCOMPARE(d.drill().countIsFixed(), checked);
        QCOMPARE(d.dialogs.texts(u"error"_qs),
                 error.isEmpty() ? QStringList() : QStringList{error});
        QCOMPARE(d.dialogs.count(u"input"_qs), boxes);
        QCOMPARE(d.dialogs.texts(u"input"_qs).first(),
                 u"何問までやるかを決めます\n何問にしますか？ OK はマウスでクリック！\n10"_qs);
    }

    // Holding Return sends auto-repeat release and press pairs; only the
    // first press is judged, and a real release arms Return again.
    void heldReturnJudgesOnce()
    {
        WindowFixture d;
        d.click("startButton");
        d.type(u"9973"_qs);
        QLineEdit* edit = d.edit("answerEdit");
        QTest::keyPress(edit, Qt::Key_Return);
        for (int i = 0; i < 5; ++i) {
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, u"\r"_qs, true);
            QApplication::sendEvent(edit, &release);
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_qs, true);
            QApplication::sendEvent(edit, &press);
        }
        QTest::keyRelease(edit, Qt::Key_Return);
        QCOMPARE(d.played(u"batu1.wav"_qs), 1);
        QVERIFY(d.run().returnArmed);
        d.pressReturn();
        QCOMPARE(d.played(u"batu1.wav"_qs), 2);
    }

    // Without some of the pictures and sounds the drill still judges, scores
    // and moves on; each missing file is reported once, and a missing
    // picture leaves the box empty rather than showing the one before.
    void missingFiles_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("edit7");
        QTest::addColumn<QString>("edit5");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QStringList>("reported");
        QTest::addColumn<int>("sounds");
        QTest::newRow("none") << QStringList() << "F3 S R T1 W R W R" << endMessage(33) << "3"
                              << ""
                              << QStringList{"mascot.bmp", "maru1.bmp", "maru1.wav", "batu1.bmp",
                                             "batu1.wav"}
                              << 0;
        QTest::newRow("no wrong picture")
            << QStringList{"mascot.bmp", "maru1.bmp", "maru1.wav", "batu1.wav"} << "S R W T1"
            << kTypeAndReturn << "2"
            << "mascot.bmp" << QStringList{"batu1.bmp"} << 2;
        QTest::newRow("no wrong picture, after praise")
            << QStringList{"mascot.bmp", "maru1.bmp", "maru1.wav", "batu1.wav"} << "S R W" << kWrong
            << "2"
            << "" << QStringList{"batu1.bmp"} << 2;
        // Each file missing in turn, through a whole set of three: 1 of 3 right
        // at the first try, three right answers and two wrong ones heard.
        const QStringList all{"mascot.bmp", "maru1.bmp", "maru1.wav", "batu1.bmp", "batu1.wav"};
        for (const QString& missing : all) {
            QStringList present = all;
            present.removeAll(missing);
            const int sounds = 5 - (missing == u"maru1.wav" ? 3 : missing == u"batu1.wav" ? 2 : 0);
            QTest::addRow("all but %s", qPrintable(missing))
                << present << "F3 S R T1 W R W R" << endMessage(33) << "3"
                << (missing == u"maru1.bmp" ? "" : "maru1.bmp") << QStringList{missing} << sounds;
        }
    }
    void missingFiles()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, script);
        QFETCH(QString, edit7);
        QFETCH(QString, edit5);
        QFETCH(QString, picture);
        QFETCH(QStringList, reported);
        QFETCH(int, sounds);
        QTemporaryDir folder;
        for (const QString& file : present)
            QVERIFY(QFile::copy(QString(ASSET_DIR "/") + file, folder.filePath(file)));
        WindowFixture d(5, {folder.path()});
        run(d, script);
        QCOMPARE(d.shows("messageLine"), edit7);
        QCOMPARE(d.shows("numberEdit"), edit5);
        QCOMPARE(d.picture(), picture);
        QCOMPARE(d.sound.played.size(), sounds);
        const QStringList warnings = d.dialogs.texts(u"warning"_qs);
        QCOMPARE(warnings.size(), reported.size());
        for (int i = 0; i < reported.size(); ++i) QVERIFY(warnings[i].contains(reported[i]));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
