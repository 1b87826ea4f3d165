// What a screen reader reads from the drill window: every control has a name
// (its visible text, or a short Japanese name where it has none), and the
// names stay while the values follow the drill.
#include "bairo/ui/bairo1.h"
#include "common/dialogs.h"
#include "common/feedback.h"
#include "common/fonts.h"
#include "common/random_source.h"
#include "tests/support/accessible.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <numeric>

using namespace bairo;

namespace {

struct Window {
    Window() { form.show(); }
    QWidget* w(const QString& name) const { return form.findChild<QWidget*>(name); }
    common::ScriptedDialogs dialogs;
    common::RecordingSoundPlayer sound;
    common::SeededRandomSource random{5};
    TForm1 form{dialogs, sound, random, common::AssetLocator({ASSET_DIR})};
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
        row("Edit1", u"一つ目の数");
        row("Edit2", u"二つ目の数");
        row("Edit3", u"求めるもの");
        row("Edit4", u"答え");
        row("Edit5", u"何問目");
        row("Edit6", u"点数");
        row("Edit7", u"お知らせ");
        row("Edit8", u"問題数");
        row("Image1", u"絵");
        row("BitBtn1", u"問題を印刷");
        // Buttons, radio items, groups, check box and labels: their visible text.
        row("Button1", u"スタート");
        row("Button2", u"おしまい");
        row("Button3", u"正解を見る");
        row("CheckBox1", u"問題数を決める");
        row("RadioGroup1", u"問題の種類");
        row("RadioGroup10", u"最小公倍数");
        row("RadioGroup11", u"最大公約数");
        row("RadioGroup2", u"問題の ていど");
        row("RadioGroup20", u"やさしい");
        row("RadioGroup21", u"むずかしい");
        row("Label1", u"と");
        row("Label4", u"です");
        row("Label8", u"問中");
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
        for (QWidget* w : win.form.findChildren<QWidget*>()) {
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
        QTest::mouseClick(win.w("Button1"), Qt::LeftButton);
        auto* first = static_cast<QLineEdit*>(win.w("Edit1"));
        auto* second = static_cast<QLineEdit*>(win.w("Edit2"));
        QCOMPARE(accessibleName(first), u"一つ目の数"_qs);
        QCOMPARE(accessibleValue(first), first->text());
        QCOMPARE(accessibleValue(win.w("Edit3")), u"最小公倍数"_qs);
        QCOMPARE(accessibleValue(win.w("Edit5")), "1");
        const int answer = std::lcm(first->text().toInt(), second->text().toInt());
        QTest::keyClicks(win.w("Edit4"), QString::number(answer));
        QCOMPARE(accessibleValue(win.w("Edit4")), QString::number(answer));
        QTest::keyClick(win.w("Edit4"), Qt::Key_Return);
        QCOMPARE(accessibleValue(win.w("Edit7")), u"せいかいです！"_qs);
        QCOMPARE(accessibleValue(win.w("Edit5")), "2");
        QCOMPARE(accessibleValue(win.w("Edit6")), "100");
        QTest::mouseClick(win.w("Button3"), Qt::LeftButton);
        QCOMPARE(accessibleName(win.w("Button3")), u"次の問題"_qs);
        QCOMPARE(accessibleName(win.w("Edit4")), u"答え"_qs);
    }
};

QTEST_MAIN(TestAccessible)
#include "test_accessible.moc"
