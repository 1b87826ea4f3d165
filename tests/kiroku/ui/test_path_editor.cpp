// SPDX-License-Identifier: GPL-3.0-or-later
// The adults' side of the day's practice, driven offscreen against a real
// records file: the school year asked when a child is added, the path and
// the day's length edited with the buttons and the keyboard, and the
// parent's page showing the steps passed and the month's day marks.
#include "kiroku/page_words.h"
#include "kiroku/ui/records_window.h"
#include "records/model/path.h"
#include "records/store/records_store.h"
#include "records/tables/path_table.h"
#include "tests/support/doubles.h"
#include "tests/support/forwarding_surface.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using Answer = common::Dialogs::Answer;
using test_support::ScriptedDialogs;
namespace records = common::records;

namespace {

template <typename T> T* named(QWidget& window, const QString& name)
{
    for (T* w : window.findChildren<T*>())
        if (w->accessibleName() == name) return w;
    qFatal("no control named %s", qPrintable(name));
}

// A child added through the window, its year taken at `year` in the box;
// then its page open on the path, the window shown and active.
void addAndOpen(kiroku::RecordsWindow& window, ScriptedDialogs& dialogs, int year)
{
    dialogs.inputs.push_back(QStringLiteral("はなこ"));
    dialogs.picks.push_back(year);
    named<QPushButton>(window, "追加…")->click();
    auto* list = named<QListWidget>(window, "子どもの一覧");
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Return);
    named<QTabWidget>(window, "子どものページ")->setCurrentIndex(1);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

std::optional<records::ChildPlan> storedPlan(const QString& file)
{
    records::RecordsStore store;
    if (!store.openExisting(file)) return std::nullopt;
    const QList<records::Child> children = store.children();
    return children.isEmpty() ? std::nullopt : store.childPlan(children.first().id);
}

// The child's page, apart from the class page's editor of the same names.
QWidget& childPage(QWidget& window) { return *named<QTabWidget>(window, "子どものページ"); }

QStringList shownKeys(kiroku::RecordsWindow& window)
{
    QStringList keys;
    auto* tree = named<QTreeWidget>(childPage(window), "れんしゅうの道");
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        keys << tree->topLevelItem(i)->data(0, Qt::UserRole).toString();
    return keys;
}

} // namespace

class TestPathEditor : public QObject {
    Q_OBJECT
private slots:
    // Every step the drill has reads as what it asks: one name each, none
    // the bare key or only the kind's place in the child's list.
    void stepNames()
    {
        QSet<QString> names;
        for (const QString& key : records::allSteps()) {
            const QString name = kiroku::stepName(key);
            QVERIFY2(name != key && name != kiroku::kindLabel("numira", key), qPrintable(key));
            names.insert(name);
        }
        QCOMPARE(names.size(), records::allSteps().size());
    }

    // The year chosen in the box is kept, shown on the page, and starts the
    // path where that year starts; the last choice or a closed box leave
    // it for later.
    void yearAsked_data()
    {
        QTest::addColumn<int>("pick");
        QTest::addColumn<int>("grade"); // 0: none
        QTest::newRow("first year") << 0 << 1;
        QTest::newRow("third year") << 2 << 3;
        QTest::newRow("sixth year") << 5 << 6;
        QTest::newRow("later") << 6 << 0;
        QTest::newRow("box closed") << -1 << 0;
    }
    void yearAsked()
    {
        QFETCH(int, pick);
        QFETCH(int, grade);
        QTemporaryDir dir;
        const QString file = dir.filePath("records.sqlite");
        ScriptedDialogs dialogs;
        kiroku::RecordsWindow window(dialogs, file);
        addAndOpen(window, dialogs, pick);
        QVERIFY(dialogs.texts("pick").value(0).contains("はなこ"));
        const std::optional<records::ChildPlan> plan = storedPlan(file);
        QVERIFY(plan);
        const std::optional<int> year = grade ? std::optional<int>(grade) : std::nullopt;
        QCOMPARE(plan->grade, year);
        QCOMPARE(plan->path, records::defaultPath(year));
        QCOMPARE(named<QComboBox>(window, "学年")->currentData().toInt(), grade);
        QCOMPARE(shownKeys(window).size(), plan->path.steps.size());
        // Another year from the page's chooser, by the keyboard.
        auto* chooser = named<QComboBox>(window, "学年");
        QTest::keyClick(chooser, grade == 6 ? Qt::Key_Up : Qt::Key_Down);
        const std::optional<int> changed = chooser->currentData().toInt();
        QCOMPARE(storedPlan(file)->grade, changed);
        QCOMPARE(storedPlan(file)->path, records::defaultPath(changed));
    }

    // Presses on the first step of a first-year child's path (nothing
    // skipped): the file holds what was asked, and the list shows it.
    // Positions and pins are given as places on the default path.
    void editing_data()
    {
        QTest::addColumn<QStringList>("presses");
        QTest::addColumn<QList<Answer>>("confirms");
        QTest::addColumn<QList<int>>("firstThree"); // default places now at 0, 1, 2
        QTest::addColumn<QList<int>>("skipped");    // default places skipped
        QTest::addColumn<int>("pinned");            // default place, -1: none
        QTest::addColumn<int>("dayProblems");
        const QList<int> asMade{0, 1, 2};
        QTest::newRow("down") << QStringList{"下へ"} << QList<Answer>{} << QList<int>{1, 0, 2}
                              << QList<int>{} << -1 << 20;
        QTest::newRow("down twice, up by keys")
            << QStringList{"下へ", "ctrl+down", "ctrl+up"} << QList<Answer>{} << QList<int>{1, 0, 2}
            << QList<int>{} << -1 << 20;
        QTest::newRow("up at the top") << QStringList{"上へ", "ctrl+up"} << QList<Answer>{}
                                       << asMade << QList<int>{} << -1 << 20;
        QTest::newRow("skipped by Alt+S")
            << QStringList{"alt+s"} << QList<Answer>{} << asMade << QList<int>{0} << -1 << 20;
        QTest::newRow("skipped and back") << QStringList{"とばす", "とばす"} << QList<Answer>{}
                                          << asMade << QList<int>{} << -1 << 20;
        QTest::newRow("pinned after a move")
            << QStringList{"下へ", "きょうのステップにする"} << QList<Answer>{}
            << QList<int>{1, 0, 2} << QList<int>{} << 0 << 20;
        QTest::newRow("pinning takes a step back")
            << QStringList{"とばす", "きょうのステップにする"} << QList<Answer>{} << asMade
            << QList<int>{} << 0 << 20;
        QTest::newRow("skipping drops the pin")
            << QStringList{"きょうのステップにする", "とばす"} << QList<Answer>{} << asMade
            << QList<int>{0} << -1 << 20;
        QTest::newRow("back to the default")
            << QStringList{"下へ", "とばす", "はじめの道にもどす…"} << QList<Answer>{Answer::kYes}
            << asMade << QList<int>{} << -1 << 20;
        QTest::newRow("default refused")
            << QStringList{"下へ", "はじめの道にもどす…"} << QList<Answer>{Answer::kNo}
            << QList<int>{1, 0, 2} << QList<int>{} << -1 << 20;
        QTest::newRow("longer day")
            << QStringList{"longer"} << QList<Answer>{} << asMade << QList<int>{} << -1 << 25;
        QTest::newRow("about ten minutes")
            << QStringList{"shorter", "shorter", "shorter", "shorter"} << QList<Answer>{} << asMade
            << QList<int>{} << -1 << 0;
    }
    void editing()
    {
        QFETCH(QStringList, presses);
        QFETCH(QList<Answer>, confirms);
        QFETCH(QList<int>, firstThree);
        QFETCH(QList<int>, skipped);
        QFETCH(int, pinned);
        QFETCH(int, dayProblems);
        QTemporaryDir dir;
        const QString file = dir.filePath("records.sqlite");
        ScriptedDialogs dialogs;
        dialogs.answers.assign(confirms.begin(), confirms.end());
        kiroku::RecordsWindow window(dialogs, file);
        addAndOpen(window, dialogs, 0);
        auto* tree = named<QTreeWidget>(childPage(window), "れんしゅうの道");
        auto* length = named<QComboBox>(childPage(window), "1日の問題数");
        tree->setFocus();
        for (const QString& press : presses) {
            if (press == "ctrl+up" || press == "ctrl+down")
                QTest::keyClick(tree, press == "ctrl+up" ? Qt::Key_Up : Qt::Key_Down,
                                Qt::ControlModifier);
            else if (press == "alt+s") {
                // A mnemonic presses its button for a moment, then clicks it.
                QTest::keyClick(tree, Qt::Key_S, Qt::AltModifier);
                auto* skip = named<QPushButton>(childPage(window), "とばす");
                QVERIFY(skip->isDown());
                QTRY_VERIFY(!skip->isDown());
            } else if (press == "longer" || press == "shorter")
                QTest::keyClick(length, press == "longer" ? Qt::Key_Down : Qt::Key_Up);
            else
                named<QPushButton>(childPage(window), press)->click();
        }
        QVERIFY(dialogs.answers.empty());
        QCOMPARE(dialogs.count("warning"), 0);
        const records::Path first = records::defaultPath(1);
        const std::optional<records::ChildPlan> plan = storedPlan(file);
        QVERIFY(plan);
        QCOMPARE(plan->path.steps.size(), first.steps.size());
        for (int i = 0; i < 3; ++i)
            QCOMPARE(plan->path.steps[i].key, first.steps[firstThree[i]].key);
        QStringList keys;
        for (const records::PathStep& step : plan->path.steps) keys << step.key;
        for (int place = 0; place < first.steps.size(); ++place)
            QCOMPARE(plan->path.steps[keys.indexOf(first.steps[place].key)].skipped,
                     skipped.contains(place));
        QCOMPARE(plan->path.pinned, pinned < 0 ? QString() : first.steps[pinned].key);
        QCOMPARE(plan->dayProblems, dayProblems);
        QCOMPARE(shownKeys(window), keys);
    }

    // The parent's page: each step passed with its day and how, and the
    // month's days with the day's mark; a day set left unfinished marks
    // nothing.
    void parentsPage_data()
    {
        QTest::addColumn<bool>("finished");
        QTest::addColumn<bool>("byPlacement");
        QTest::newRow("finished, placed") << true << true;
        QTest::newRow("finished, practised") << true << false;
        QTest::newRow("unfinished") << false << false;
    }
    void parentsPage()
    {
        QFETCH(bool, finished);
        QFETCH(bool, byPlacement);
        QTemporaryDir dir;
        const QString file = dir.filePath("records.sqlite");
        const QDate today = QDate::currentDate();
        const QString step = records::defaultPath(2).steps.first().key;
        {
            records::RecordsStore store;
            QCOMPARE(store.open(file), records::Opening::kOpened);
            qint64 child = 0;
            QVERIFY(!store.addChild(QStringLiteral("たろう"), &child));
            QVERIFY(records::PathTable(store.connection())
                        .markPassed(child, {QStringLiteral("table:5")}, today, byPlacement));
            const common::SetRecord set{"numira", "today:" + step, 1, {}};
            qint64 setId = 0;
            common::AnswerRecord a{1, "mul:5x2", "10", finished ? "10" : "", 1, finished};
            a.answeredAt = QDateTime::currentDateTimeUtc();
            QVERIFY(store.recordAnswer(child, set, setId, a));
            if (finished) QVERIFY(store.endSet(setId, 1, QDateTime::currentDateTimeUtc()));
        }
        ScriptedDialogs dialogs;
        dialogs.answers = {Answer::kYes};
        test_support::RecordingSurface recorded({2480, 3508});
        kiroku::RecordsWindow window(dialogs, file, nullptr, [&](QPrinter&) {
            return std::make_unique<ForwardingSurface>(recorded);
        });
        auto* list = named<QListWidget>(window, "子どもの一覧");
        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key_Return);
        auto* passed = named<QTableWidget>(window, "できたステップ");
        QCOMPARE(passed->rowCount(), 1);
        QCOMPARE(passed->item(0, 0)->text(), "九九 5の段");
        QCOMPARE(passed->item(0, 1)->text(), today.toString("yyyy/MM/dd"));
        QCOMPARE(passed->item(0, 2)->text() == "はじめのテストで合格", byPlacement);
        QStringList marked;
        auto* month = named<QTableWidget>(window, "今月のはなまる");
        for (int r = 0; r < month->rowCount(); ++r)
            for (int c = 0; c < month->columnCount(); ++c)
                if (const QTableWidgetItem* cell = month->item(r, c);
                    cell && cell->text().contains("はなまる"))
                    marked << cell->data(Qt::AccessibleTextRole).toString();
        QCOMPARE(marked,
                 finished ? QStringList{today.toString("M月d日") + " はなまる"} : QStringList{});
        const QString marks = u"今月のはなまる %1日　つづけて %1日"_qs.arg(finished ? 1 : 0);
        QCOMPARE(window.findChild<QLabel*>("marks")->text(), marks);
        // The day's sets among the kinds, by their step's name.
        QCOMPARE(named<QTableWidget>(window, "種類ごとの記録")->item(0, 0)->text(),
                 "きょうのれんしゅう（" + kiroku::stepName(step) + "）");
        // The printed report says the same in its line of the day's practice.
        named<QPushButton>(window, "印刷…")->click();
        QCOMPARE(recorded.pages, 1);
        QStringList printed;
        for (const auto& [at, text] : recorded.textsOnPage(0)) printed << text;
        QVERIFY(printed.filter(marks).size() == 1);
    }
};

int main(int argc, char* argv[])
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestPathEditor test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_path_editor.moc"
