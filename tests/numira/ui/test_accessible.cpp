// What a screen reader reads from the main and choice windows: every control
// has a name (its visible text, or a short Japanese name where it has none),
// and the names stay while the values follow the drill.
#include "window_fixture.h"

#include "tests/support/accessible.h"

#include <QTabBar>
#include <QToolButton>

namespace {

// The controls by their design names.
QWidget* control(WindowFixture& f, const QString& window, const QString& name)
{
    const numira::TForm1& m = f.form;
    const numira::TForm3& c = f.choice;
    if (window == u"main") {
        const QHash<QString, QWidget*> main{
            {"Edit1", m.Edit1},     {"Edit2", m.Edit2},     {"Edit3", m.Edit3},
            {"Edit4", m.Edit4},     {"Edit5", m.Edit5},     {"Edit6", m.Edit6},
            {"Edit7", m.Edit7},     {"Image1", m.Image1},   {"BitBtn1", m.BitBtn1},
            {"BitBtn2", m.BitBtn2}, {"Button1", m.Button1}, {"Button2", m.Button2},
            {"Button3", m.Button3}, {"Button4", m.Button4}, {"CheckBox1", m.CheckBox1},
            {"Label1", m.Label1},   {"Label6", m.Label6},   {"Label8", m.Label8}};
        return main.value(name);
    }
    if (name == u"TabbedNotebook1") return c.TabbedNotebook1;
    if (name == u"GroupBox1") return c.GroupBox1;
    if (name == u"Button1") return c.Button1;
    if (name.startsWith(u"ListBox")) return c.ListBox[name.mid(7).toInt() - 1];
    if (name.startsWith(u"CheckBox")) return c.CheckBox[name.mid(8).toInt() - 1];
    return nullptr;
}

} // namespace

class TestAccessible : public QObject {
    Q_OBJECT
private slots:
    void names_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        auto row = [](const char* window, const char* control, const char16_t* name) {
            QTest::addRow("%s %s", window, control) << window << control << QString::fromUtf16(name);
        };
        // The read-only edits, the picture and the picture buttons: short names.
        row("main", "Edit1", u"もんだいめい");
        row("main", "Edit2", u"ぜんぶのもんだいすう");
        row("main", "Edit3", u"なんもんめ");
        row("main", "Edit4", u"もんだい");
        row("main", "Edit5", u"こたえ");
        row("main", "Edit6", u"おしらせ");
        row("main", "Edit7", u"てんすう");
        row("main", "Image1", u"え");
        row("main", "BitBtn1", u"ヘルプ");
        row("main", "BitBtn2", u"いんさつ");
        // Buttons, check box and labels: their visible text.
        row("main", "Button1", u"もんだいえらび");
        row("main", "Button2", u"せいかいをだす");
        row("main", "Button4", u"はじめから");
        row("main", "Button3", u"おしまい");
        row("main", "CheckBox1", u"もんだいすうをきめる");
        row("main", "Label1", u"ぜんぶで");
        row("main", "Label6", u"コンピュータからのおしらせ");
        row("main", "Label8", u"＝");
        // The choice window: the lists by their pages.
        row("choice", "TabbedNotebook1", u"もんだいのしゅるい");
        row("choice", "ListBox1", u"たしざん");
        row("choice", "ListBox2", u"ひきざん");
        row("choice", "ListBox3", u"かけざん");
        row("choice", "ListBox4", u"わりざん");
        row("choice", "GroupBox1", u"やるだんをクリックして×をつけてね");
        row("choice", "CheckBox1", u"１のだん");
        row("choice", "CheckBox10", u"ぜんぶのだん");
        row("choice", "CheckBox11", u"０をいれる");
        row("choice", "Button1", u"けってい");
    }
    void names()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, name);
        WindowFixture f;
        QWidget* w = ::control(f, window, control);
        QVERIFY(w);
        QCOMPARE(accessibleName(w), name);
    }

    // No control of either window goes unnamed, and a control with a visible
    // text is named by it. The tabs of the choice window read as its pages.
    void everyControlIsNamed()
    {
        WindowFixture f;
        f.choice.show();
        int seen = 0;
        for (QWidget* top : {static_cast<QWidget*>(&f.form), static_cast<QWidget*>(&f.choice)}) {
            for (QWidget* w : top->findChildren<QWidget*>()) {
                // The tab bar's own scroll buttons and the lists' inner parts are Qt's.
                if (qobject_cast<QTabBar*>(w->parentWidget()) || w->objectName().startsWith(u"qt_"))
                    continue;
                const std::optional<QString> visible = visibleText(w);
                if (!visible && !qobject_cast<QLineEdit*>(w) && !qobject_cast<QAbstractItemView*>(w) &&
                    !qobject_cast<QTabWidget*>(w))
                    continue;
                const QString name = accessibleName(w);
                QVERIFY2(!name.isEmpty(), w->metaObject()->className());
                if (visible && !visible->isEmpty()) QCOMPARE(name, *visible);
                ++seen;
            }
        }
        QVERIFY(seen >= 45);
        QAccessibleInterface* tabs = QAccessible::queryAccessibleInterface(f.choice.TabbedNotebook1->tabBar());
        QStringList pages;
        for (int i = 0; i < tabs->childCount(); ++i)
            if (tabs->child(i)->role() == QAccessible::PageTab) pages << tabs->child(i)->text(QAccessible::Name);
        QCOMPARE(pages, (QStringList{u"たしざん"_qs, u"ひきざん"_qs, u"かけざん"_qs, u"わりざん"_qs, u"九九"_qs}));
    }

    // Through a drill the names stay and the values are what is shown.
    void readerFollowsTheDrill()
    {
        WindowFixture f;
        f.choose(0, 4);
        QCOMPARE(accessibleName(f.form.Edit4), u"もんだい"_qs);
        QCOMPARE(accessibleValue(f.form.Edit4), f.state.store.question(1));
        QCOMPARE(accessibleValue(f.form.Edit3), " 1");
        f.answerRight();
        QCOMPARE(accessibleValue(f.form.Edit4), f.state.store.question(2));
        QCOMPARE(accessibleValue(f.form.Edit6), u"せいかいです！"_qs);
        QCOMPARE(accessibleValue(f.form.Edit7), " 100");
        QTest::mouseClick(f.form.Button2, Qt::LeftButton);
        QCOMPARE(accessibleName(f.form.Button2), u"つぎのもんだい"_qs);
        QCOMPARE(accessibleName(f.form.Edit5), u"こたえ"_qs);
        QCOMPARE(accessibleValue(f.form.Edit5), f.state.store.answer(2));
    }
};

QTEST_MAIN(TestAccessible)
#include "test_accessible.moc"
