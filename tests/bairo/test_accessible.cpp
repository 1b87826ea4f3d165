// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader reads from the drill window: every control has a name
// (its visible text, or a short Japanese name where it has none), and the
// names stay while the values follow the drill.
#include "bairo/ui/main_window.h"
#include "common/dialogs.h"
#include "common/feedback.h"
#include "common/fonts.h"
#include "common/random_source.h"
#include "tests/support/accessible.h"
#include "tests/support/doubles.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <numeric>

using namespace bairo;

namespace {

struct Window {
    Window() { window.show(); }
    QWidget* w(const QString& name) const { return window.findChild<QWidget*>(name); }
    test_support::ScriptedDialogs dialogs;
    test_support::RecordingSoundPlayer sound;
    test_support::SeededRandomSource random{5};
    MainWindow window{{dialogs, sound, random, common::AssetLocator({ASSET_DIR})}};
};

} // namespace

class TestAccessible : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { common::installJapaneseFonts(); }

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
        Window win;
        QWidget* w = win.w(control);
        QVERIFY(w);
        QCOMPARE(accessibleName(w), name);
    }

    // No control goes unnamed, and a control with a visible text is named by it.
    void everyControlIsNamed()
    {
        Window win;
        int seen = 0;
        for (QWidget* w : win.window.findChildren<QWidget*>()) {
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
        Window win;
        QTest::mouseClick(win.w("startButton"), Qt::LeftButton);
        auto* first = static_cast<QLineEdit*>(win.w("firstEdit"));
        auto* second = static_cast<QLineEdit*>(win.w("secondEdit"));
        QCOMPARE(accessibleName(first), u"一つ目の数"_qs);
        QCOMPARE(accessibleValue(first), first->text());
        QCOMPARE(accessibleValue(win.w("kindEdit")), u"最小公倍数"_qs);
        QCOMPARE(accessibleValue(win.w("numberEdit")), "1");
        const int answer = std::lcm(first->text().toInt(), second->text().toInt());
        QTest::keyClicks(win.w("answerEdit"), QString::number(answer));
        QCOMPARE(accessibleValue(win.w("answerEdit")), QString::number(answer));
        QTest::keyClick(win.w("answerEdit"), Qt::Key_Return);
        QCOMPARE(accessibleValue(win.w("messageLine")), u"せいかいです！"_qs);
        QCOMPARE(accessibleValue(win.w("numberEdit")), "2");
        QCOMPARE(accessibleValue(win.w("scoreEdit")), "100");
        QTest::mouseClick(win.w("showAnswerButton"), Qt::LeftButton);
        QCOMPARE(accessibleName(win.w("showAnswerButton")), u"次の問題"_qs);
        QCOMPARE(accessibleName(win.w("answerEdit")), u"答え"_qs);
    }
};

QTEST_MAIN(TestAccessible)
#include "test_accessible.moc"
