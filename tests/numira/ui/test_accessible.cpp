// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader reads from the main and choice windows: every control
// has a name (its visible text, or a short Japanese name where it has none),
// and the names stay while the values follow the drill.
#include "window_fixture.h"

#include "tests/support/accessible.h"

#include <QTabBar>
#include <QToolButton>

class TestAccessible : public QObject {
    Q_OBJECT
private slots:
    void names_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        auto row = [](const char* window, const char* control, const char16_t* name) {
            QTest::addRow("%s %s", window, control)
                << window << control << QString::fromUtf16(name);
        };
        // The read-only edits, the picture and the picture buttons: short names.
        row("main", "titleEdit", u"もんだいめい");
        row("main", "countEdit", u"ぜんぶのもんだいすう");
        row("main", "numberEdit", u"なんもんめ");
        row("main", "problemEdit", u"もんだい");
        row("main", "answerEdit", u"こたえ");
        row("main", "messageLine", u"おしらせ");
        row("main", "scoreEdit", u"てんすう");
        row("main", "picture", u"え");
        row("main", "helpButton", u"ヘルプ");
        row("main", "printButton", u"いんさつ");
        // Buttons, check box and labels: their visible text.
        row("main", "chooseButton", u"もんだいえらび");
        row("main", "showAnswerButton", u"せいかいをだす");
        row("main", "startAgainButton", u"はじめから");
        row("main", "quitButton", u"おしまい");
        row("main", "fixedCountBox", u"もんだいすうをきめる");
        row("main", "countLabel", u"ぜんぶで");
        row("main", "messageTitle", u"コンピュータからのおしらせ");
        row("main", "equalsSign", u"＝");
        // The choice window: the lists by their pages.
        row("choice", "pages", u"もんだいのしゅるい");
        row("choice", "additionList", u"たしざん");
        row("choice", "subtractionList", u"ひきざん");
        row("choice", "multiplicationList", u"かけざん");
        row("choice", "divisionList", u"わりざん");
        row("choice", "rowGroup", u"やるだんをクリックして×をつけてね");
        row("choice", "row1Box", u"１のだん");
        row("choice", "allRowsBox", u"ぜんぶのだん");
        row("choice", "withZeroBox", u"０をいれる");
        row("choice", "confirmButton", u"けってい");
    }
    void names()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, name);
        WindowFixture f;
        // The controls by their object names.
        QWidget* top = window == u"main" ? static_cast<QWidget*>(&f.form) : &f.choice;
        QWidget* w = top->findChild<QWidget*>(control);
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
                if (!visible && !qobject_cast<QLineEdit*>(w) &&
                    !qobject_cast<QAbstractItemView*>(w) && !qobject_cast<QTabWidget*>(w))
                    continue;
                const QString name = accessibleName(w);
                QVERIFY2(!name.isEmpty(), w->metaObject()->className());
                if (visible && !visible->isEmpty()) QCOMPARE(name, *visible);
                ++seen;
            }
        }
        QVERIFY(seen >= 45);
        QAccessibleInterface* tabs =
            QAccessible::queryAccessibleInterface(f.choiceControls().pages()->tabBar());
        QStringList pages;
        for (int i = 0; i < tabs->childCount(); ++i)
            if (tabs->child(i)->role() == QAccessible::PageTab)
                pages << tabs->child(i)->text(QAccessible::Name);
        QCOMPARE(pages, (QStringList{u"たしざん"_qs, u"ひきざん"_qs, u"かけざん"_qs, u"わりざん"_qs,
                                     u"九九"_qs}));
    }

    // Through a drill the names stay and the values are what is shown.
    void readerFollowsTheDrill()
    {
        WindowFixture f;
        f.choose(0, 4);
        QCOMPARE(accessibleName(f.edit("problemEdit")), u"もんだい"_qs);
        QCOMPARE(accessibleValue(f.edit("problemEdit")), f.store().question(1));
        QCOMPARE(accessibleValue(f.edit("numberEdit")), " 1");
        f.answerRight();
        QCOMPARE(accessibleValue(f.edit("problemEdit")), f.store().question(2));
        QCOMPARE(accessibleValue(f.edit("messageLine")), u"せいかいです！"_qs);
        QCOMPARE(accessibleValue(f.edit("scoreEdit")), " 100");
        QTest::mouseClick(f.w("showAnswerButton"), Qt::LeftButton);
        QCOMPARE(accessibleName(f.w("showAnswerButton")), u"つぎのもんだい"_qs);
        QCOMPARE(accessibleName(f.edit("answerEdit")), u"こたえ"_qs);
        QCOMPARE(accessibleValue(f.edit("answerEdit")), f.store().answer(2));
    }
};

QTEST_MAIN(TestAccessible)
#include "test_accessible.moc"
