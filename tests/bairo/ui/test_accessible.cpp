// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader reads from the drill window: every control has a name
// (its visible text, or a short Japanese name where it has none), and the
// names stay while the values follow the drill.
#include "window_fixture.h"

#include "tests/support/accessible.h"

class TestAccessible : public QObject {
    Q_OBJECT
private slots:
    void names_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        auto row = [](const char* control, const char16_t* name) {
            QTest::newRow(control) << control << QString::fromUtf16(name);
        };
        // The read-only edits, the answer field, the picture and the print
        // button: short names.
        row("firstEdit", u"一つ目の数");
        row("secondEdit", u"二つ目の数");
        row("kindEdit", u"求めるもの");
        row("answerEdit", u"答え");
        row("numberEdit", u"何問目");
        row("scoreEdit", u"点数");
        row("messageLine", u"お知らせ");
        row("countEdit", u"問題数");
        row("picture", u"絵");
        row("printButton", u"問題を印刷");
        // Buttons, radio items, groups, check box and labels: their visible text.
        row("startButton", u"スタート");
        row("quitButton", u"おしまい");
        row("showAnswerButton", u"正解を見る");
        row("fixedCountBox", u"問題数を決める");
        row("kindGroup", u"問題の種類");
        row("lcmButton", u"最小公倍数");
        row("gcdButton", u"最大公約数");
        row("levelGroup", u"問題の ていど");
        row("easyButton", u"やさしい");
        row("hardButton", u"むずかしい");
        row("andLabel", u"と");
        row("sentenceEndLabel", u"です");
        row("countUnitLabel", u"問中");
    }
    void names()
    {
        QFETCH(QString, control);
        QFETCH(QString, name);
        WindowFixture f(5);
        QWidget* w = f.form.findChild<QWidget*>(control);
        QVERIFY(w);
        QCOMPARE(accessibleName(w), name);
    }

    // No control goes unnamed, and a control with a visible text is named by it.
    void everyControlIsNamed()
    {
        WindowFixture f(5);
        int seen = 0;
        for (QWidget* w : f.form.findChildren<QWidget*>()) {
            const std::optional<QString> visible = visibleText(w);
            if (!visible && !qobject_cast<QLineEdit*>(w)) continue;
            const QString name = accessibleName(w);
            QVERIFY2(!name.isEmpty(), qPrintable(w->objectName()));
            if (visible && !visible->isEmpty()) QCOMPARE(name, *visible);
            ++seen;
        }
        QVERIFY(seen >= 27);
    }

    // Through a drill the names stay and the values are what is shown.
    void readerFollowsTheDrill()
    {
        WindowFixture f(5);
        f.click("startButton");
        QCOMPARE(accessibleName(f.w("firstEdit")), u"一つ目の数"_qs);
        QCOMPARE(accessibleValue(f.w("firstEdit")), f.shows("firstEdit"));
        QCOMPARE(accessibleValue(f.w("kindEdit")), u"最小公倍数"_qs);
        QCOMPARE(accessibleValue(f.w("numberEdit")), "1");
        const int answer = f.answer();
        f.type(QString::number(answer));
        QCOMPARE(accessibleValue(f.w("answerEdit")), QString::number(answer));
        f.pressReturn();
        QCOMPARE(accessibleValue(f.w("messageLine")), kRight);
        QCOMPARE(accessibleValue(f.w("numberEdit")), "2");
        QCOMPARE(accessibleValue(f.w("scoreEdit")), "100");
        f.click("showAnswerButton");
        QCOMPARE(accessibleName(f.w("showAnswerButton")), kNext);
        QCOMPARE(accessibleName(f.w("answerEdit")), u"答え"_qs);
    }
};

QTEST_MAIN(TestAccessible)
#include "test_accessible.moc"
