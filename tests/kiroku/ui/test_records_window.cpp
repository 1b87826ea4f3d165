// SPDX-License-Identifier: GPL-3.0-or-later
// The records window's wiring: boxes answered from a script, a real records
// file in a scratch folder, and the switch in a scratch settings folder. The
// child page is read from a small history written as the drills write it,
// and checked as a screen reader reads it.
#include "kiroku/ui/child_page_view.h"
#include "kiroku/ui/records_window.h"
#include "records/drill/records_place.h"
#include "records/store/records_store.h"
#include "tests/support/doubles.h"
#include "tests/support/forwarding_surface.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using Answer = common::Dialogs::Answer;
using test_support::ScriptedDialogs;

namespace {

// A control as a screen reader finds it: by its accessible name.
template <typename T> T* named(QWidget& window, const QString& name)
{
    for (T* w : window.findChildren<T*>())
        if (w->accessibleName() == name) return w;
    qFatal("no control named %s", qPrintable(name));
}

QStringList listed(QWidget& window)
{
    QStringList names;
    auto* list = named<QListWidget>(window, QStringLiteral("子どもの一覧"));
    for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
    return names;
}

QStringList stored(const QString& file)
{
    common::records::RecordsStore store;
    if (!store.openExisting(file)) return {};
    QStringList names;
    for (const common::records::Child& c : store.children()) names << c.nickname;
    return names;
}

// A records file of a later schema with one child in it.
void writeNewerFile(const QString& file)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "newer");
        db.setDatabaseName(file);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec("CREATE TABLE children(id INTEGER PRIMARY KEY, nickname TEXT NOT NULL)"));
        QVERIFY(q.exec("INSERT INTO children(nickname) VALUES('たろう')"));
        QVERIFY(q.exec("PRAGMA application_id=1313686098")); // 0x4E4D4252
        QVERIFY(q.exec("PRAGMA user_version=99"));
    }
    QSqlDatabase::removeDatabase("newer");
}

// One child's history: 2×3 right at the first try ten times over five days,
// 4×5 twice today, 7×8 missed (54, then 48) on the last two days, 3×0 once
// today when `fromZero`; and in Bairo one LCM missed with a hint; 6×7 missed
// `oldDays` days ago.
void writeHistory(const QString& file, bool fromZero, const QList<int>& oldDays = {})
{
    common::records::RecordsStore store;
    QCOMPARE(store.open(file), common::records::Opening::kOpened);
    qint64 child = 0;
    QVERIFY(!store.addChild(QStringLiteral("たろう"), &child));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const common::SetRecord table{"numira", "table:2,3,4,7", 20, {}},
        lcm{"bairo", "lcm:easy", 10, {}};
    qint64 tableSet = 0, lcmSet = 0;
    int position = 0;
    const auto put = [&](const common::SetRecord& set, qint64& setId, const QString& fact,
                         const QString& right, const QString& typed, int daysAgo,
                         const QString& hint = {}) {
        common::AnswerRecord a{++position, fact, right, typed, 1, typed == right};
        a.hint = hint;
        a.elapsedMs = 3000;
        a.answeredAt = now.addDays(-daysAgo);
        QVERIFY(store.recordAnswer(child, set, setId, a));
    };
    for (int day = 0; day < 10; ++day) put(table, tableSet, "mul:2x3", "6", "6", day / 2);
    for (int i = 0; i < 2; ++i) put(table, tableSet, "mul:4x5", "20", "20", 0);
    put(table, tableSet, "mul:7x8", "56", "54", 2);
    put(table, tableSet, "mul:7x8", "56", "48", 1);
    if (fromZero) put(table, tableSet, "mul:3x0", "0", "0", 0);
    put(lcm, lcmSet, "lcm:4,6", "12", "24", 0, "smaller-multiple");
    for (const int daysAgo : oldDays) put(table, tableSet, "mul:6x7", "42", "40", daysAgo);
}

// The window on that history with the child's page open, as an adult opens
// it: the child chosen in the list, then Return.
void openChildPage(kiroku::RecordsWindow& window)
{
    auto* list = named<QListWidget>(window, "子どもの一覧");
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(named<QTabWidget>(window, "記録のページ")->currentIndex(), 1);
    QCOMPARE(named<QComboBox>(window, "ようすを見る子ども")->currentText(), "たろう");
}

} // namespace

class TestRecordsWindow : public QObject {
    Q_OBJECT
private slots:
    // Buttons pressed in turn, each box answered from the script; the list
    // and the file then hold the same children.
    void editing_data()
    {
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QList<Answer>>("confirms");
        QTest::addColumn<QStringList>("children");
        QTest::addColumn<int>("warnings");
        const QString add = "追加…", rename = "名前を変える…", del = "削除…";
        QTest::newRow("two added") << QStringList{add, add} << QStringList{"たろう", "はなこ"}
                                   << QList<Answer>{} << QStringList{"たろう", "はなこ"} << 0;
        // Cancel gives back the empty preset: nothing asked, nothing told.
        QTest::newRow("cancelled")
            << QStringList{add} << QStringList{} << QList<Answer>{} << QStringList{} << 0;
        QTest::newRow("blanks refused")
            << QStringList{add} << QStringList{"　 "} << QList<Answer>{} << QStringList{} << 1;
        QTest::newRow("same name refused") << QStringList{add, add} << QStringList{"a", "a"}
                                           << QList<Answer>{} << QStringList{"a"} << 1;
        QTest::newRow("renamed") << QStringList{add, rename} << QStringList{"たろう", "タロウ"}
                                 << QList<Answer>{} << QStringList{"タロウ"} << 0;
        QTest::newRow("renamed to its own name, blanks around it")
            << QStringList{add, rename} << QStringList{"a", " a "} << QList<Answer>{}
            << QStringList{"a"} << 0;
        QTest::newRow("renamed to a taken name")
            << QStringList{add, add, rename} << QStringList{"a", "b", "a"} << QList<Answer>{}
            << QStringList{"a", "b"} << 1;
        QTest::newRow("deleted after yes") << QStringList{add, add, del} << QStringList{"a", "b"}
                                           << QList<Answer>{Answer::kYes} << QStringList{"a"} << 0;
        QTest::newRow("kept after no") << QStringList{add, del} << QStringList{"a"}
                                       << QList<Answer>{Answer::kNo} << QStringList{"a"} << 0;
        QTest::newRow("kept after the box closed")
            << QStringList{add, del} << QStringList{"a"} << QList<Answer>{Answer::kClosed}
            << QStringList{"a"} << 0;
    }
    void editing()
    {
        QFETCH(QStringList, buttons);
        QFETCH(QStringList, inputs);
        QFETCH(QList<Answer>, confirms);
        QFETCH(QStringList, children);
        QFETCH(int, warnings);
        QTemporaryDir dir;
        const QString file = dir.filePath("records/records.sqlite");
        ScriptedDialogs dialogs;
        dialogs.inputs.assign(inputs.begin(), inputs.end());
        dialogs.answers.assign(confirms.begin(), confirms.end());
        kiroku::RecordsWindow window(dialogs, file);
        for (const QString& b : buttons) named<QPushButton>(window, b)->click();
        QVERIFY(dialogs.inputs.empty() && dialogs.answers.empty());
        QCOMPARE(listed(window), children);
        QCOMPARE(stored(file), children);
        QCOMPARE(dialogs.count("warning"), warnings);
    }

    // The file as found at the start: the boxes shown and whether it can be edited.
    void opening_data()
    {
        QTest::addColumn<QString>("found");
        QTest::addColumn<int>("informations");
        QTest::addColumn<int>("warnings");
        QTest::addColumn<bool>("editable");
        QTest::addColumn<QStringList>("children");
        QTest::newRow("none") << "none" << 0 << 0 << true << QStringList{};
        QTest::newRow("damaged") << "damaged" << 1 << 0 << true << QStringList{};
        QTest::newRow("newer") << "newer" << 0 << 1 << false << QStringList{"たろう"};
    }
    void opening()
    {
        QFETCH(QString, found);
        QFETCH(int, informations);
        QFETCH(int, warnings);
        QFETCH(bool, editable);
        QFETCH(QStringList, children);
        QTemporaryDir dir;
        const QString file = dir.filePath("records.sqlite");
        // One byte: no SQLite file starts so.
        if (QFile damaged(file); found == "damaged")
            QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("x") == 1);
        if (found == "newer") writeNewerFile(file);
        ScriptedDialogs dialogs;
        kiroku::RecordsWindow window(dialogs, file);
        QCOMPARE(dialogs.count("information"), informations);
        QCOMPARE(dialogs.count("warning"), warnings);
        QCOMPARE(QFile::exists(file), found != "none");
        QCOMPARE(listed(window), children);
        named<QListWidget>(window, "子どもの一覧")->setCurrentRow(0);
        QCOMPARE(named<QPushButton>(window, "追加…")->isEnabled(), editable);
        QCOMPARE(named<QComboBox>(window, "答えを残す期間")->isEnabled(),
                 editable && found != "none");
        for (const char* edit : {"名前を変える…", "削除…"})
            QCOMPARE(named<QPushButton>(window, edit)->isEnabled(),
                     editable && !children.isEmpty());
    }

    // Months kept chosen: the question says how many answers go; No keeps
    // the choice and the answers, Yes removes them; none to go, none asked.
    void keeping_data()
    {
        QTest::addColumn<int>("months");
        QTest::addColumn<int>("older"); // answers older than that; 0: nothing asked
        QTest::addColumn<Answer>("answer");
        QTest::newRow("3 months, yes") << 3 << 2 << Answer::kYes;
        QTest::newRow("3 months, no") << 3 << 2 << Answer::kNo;
        QTest::newRow("1 year, yes") << 12 << 1 << Answer::kYes;
        QTest::newRow("2 years, none older") << 24 << 0 << Answer::kYes;
    }
    void keeping()
    {
        QFETCH(int, months);
        QFETCH(int, older);
        QFETCH(Answer, answer);
        QTemporaryDir dir;
        const QString file = dir.filePath("records.sqlite");
        writeHistory(file, false, {122, 396}); // 4 and 13 months
        const QDateTime all = QDateTime::currentDateTime().addDays(1);
        common::records::RecordsStore store;
        const qint64 before = store.openExisting(file) ? *store.countAnswersBefore(all) : -1;
        ScriptedDialogs dialogs;
        dialogs.answers = {answer};
        kiroku::RecordsWindow window(dialogs, file);
        auto* keeping = named<QComboBox>(window, "答えを残す期間");
        keeping->setCurrentIndex(keeping->findData(months));
        QCOMPARE(dialogs.count("confirm"), older ? 1 : 0);
        if (older) QVERIFY(dialogs.texts("confirm").first().contains(u" %1 件"_qs.arg(older)));
        const bool yes = answer == Answer::kYes;
        QCOMPARE(store.countAnswersBefore(all), before - (yes ? older : 0));
        QCOMPARE(store.keptMonths(), yes ? months : 0);
        QCOMPARE(keeping->currentData().toInt(), yes ? months : 0);
    }

    // The check box shows the switch, writes it (the owner's alone, whatever
    // the umask), and turning it on makes the file.
    void recordsSwitch_data()
    {
        QTest::addColumn<bool>("on");
        QTest::newRow("turned on") << true;
        QTest::newRow("turned off") << false;
    }
    void recordsSwitch()
    {
        QFETCH(bool, on);
        QTemporaryDir dir;
        const QString file = dir.filePath("records.sqlite");
        const QString ini = qEnvironmentVariable("XDG_CONFIG_HOME") + "/numirabairo/records.ini";
        QDir(QFileInfo(ini).path()).removeRecursively();
        const auto umaskBack = qScopeGuard([was = ::umask(0)] { ::umask(was); });
        QVERIFY(common::records::setRecordsOn(!on));
        ScriptedDialogs dialogs;
        kiroku::RecordsWindow window(dialogs, file);
        auto* box = named<QCheckBox>(window, "記録をつける");
        QCOMPARE(box->isChecked(), !on);
        box->click();
        QCOMPARE(common::records::recordsOn(), on);
        QCOMPARE(QFile::permissions(ini) & QFile::Permissions(0x7077),
                 QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(QFile::permissions(QFileInfo(ini).path()) & QFile::Permissions(0x7077),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(QFile::exists(file), on);
        QCOMPARE(named<QComboBox>(window, "答えを残す期間")->isEnabled(), on);
        QCOMPARE(dialogs.shown.size(), 0);
    }

    // Grid cells as a screen reader finds them: a table cell under its
    // column's header, named by its fact and state word. "" is no such column.
    void grid_data()
    {
        QTest::addColumn<bool>("fromZero");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("name");
        QTest::newRow("mastered") << false << 2 << "×3"
                                  << "2×3 できた 3.0秒";
        QTest::newRow("learning") << false << 4 << "×5"
                                  << "4×5 れんしゅう中 3.0秒";
        QTest::newRow("missed") << false << 7 << "×8"
                                << "7×8 にがて";
        QTest::newRow("not seen") << false << 9 << "×9"
                                  << "9×9 まだ";
        QTest::newRow("no ×0 column") << false << 3 << "×0"
                                      << "";
        QTest::newRow("×0 practised") << true << 3 << "×0"
                                      << "3×0 れんしゅう中 3.0秒";
        QTest::newRow("×0 not seen") << true << 5 << "×0"
                                     << "5×0 まだ";
        QTest::newRow("×8 beside ×0") << true << 7 << "×8"
                                      << "7×8 にがて";
    }
    void grid()
    {
        QFETCH(bool, fromZero);
        QFETCH(int, row);
        QFETCH(QString, column);
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString file = dir.filePath("records.sqlite");
        writeHistory(file, fromZero);
        ScriptedDialogs dialogs;
        kiroku::RecordsWindow window(dialogs, file);
        openChildPage(window);
        auto* grid = named<QTableWidget>(window, "九九の表");
        QAccessibleTableInterface* cells =
            QAccessible::queryAccessibleInterface(grid)->tableInterface();
        QString found;
        for (int c = 0; c < cells->columnCount(); ++c) {
            if (grid->horizontalHeaderItem(c)->text() != column) continue;
            QAccessibleInterface* cell = cells->cellAt(row - 1, c);
            QCOMPARE(cell->role(), QAccessible::Cell);
            found = cell->text(QAccessible::Name);
        }
        QCOMPARE(found, name);
    }

    // The tables beside the grid: a row found by its first column's text, or
    // by its number when there is none, and one cell of it.
    void tables_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("first");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::newRow("times table problems")
            << "種類ごとの記録" << 2 << "九九 2,3,4,7" << 0 << 2 << "14";
        QTest::newRow("bairo problems")
            << "種類ごとの記録" << 2 << "最小公倍数 やさしい" << 0 << 2 << "1";
        QTest::newRow("missed twice") << "よくまちがえる問題" << -1 << "7×8" << 0 << 1 << "2";
        QTest::newRow("typed, newest first")
            << "よくまちがえる問題" << -1 << "7×8" << 0 << 2 << "48、54";
        QTest::newRow("hint") << "バイロの記録" << 1 << "最小公倍数 やさしい" << 0 << 3 << "1";
        // Three days ago, the 53rd of the 56 days: 2×3 twice.
        QTest::newRow("a day's problems") << "日ごとの記録" << 56 << "" << 52 << 1 << "2";
        QTest::newRow("a day's share") << "日ごとの記録" << 56 << "" << 52 << 2 << "100%";
    }
    void tables()
    {
        QFETCH(QString, table);
        QFETCH(int, rows);
        QFETCH(QString, first);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QString file = dir.filePath("records.sqlite");
        writeHistory(file, false);
        ScriptedDialogs dialogs;
        kiroku::RecordsWindow window(dialogs, file);
        openChildPage(window);
        auto* shown = named<QTableWidget>(window, table);
        if (rows >= 0) QCOMPARE(shown->rowCount(), rows);
        if (!first.isEmpty()) {
            const QList<QTableWidgetItem*> found = shown->findItems(first, Qt::MatchExactly);
            QVERIFY(!found.isEmpty() && found.front()->column() == 0);
            row = found.front()->row();
        }
        QCOMPARE(shown->item(row, column)->text(), text);
    }

    // What was typed at a missed fact, in short: each text once, the most
    // typed first; and a table with nothing in it says so.
    void typedAndEmpty_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("the same wrong answer every time")
            << QStringList{"48", "54", "54", "54"} << u"54（3回）、48"_qs;
        QTest::newRow("a long list cut") << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"}
                                         << u"1、2、3、4、5、6 ほか3種類"_qs;
    }
    void typedAndEmpty()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, shown);
        kiroku::ChildPageView view;
        common::records::ChildPage page;
        page.mostMissed.append({"mul:7x8", 1, typed});
        view.showPage(page);
        QCOMPARE(named<QTableWidget>(view, "よくまちがえる問題")->item(0, 2)->text(), shown);
        auto* kinds = named<QTableWidget>(view, "種類ごとの記録");
        QCOMPARE(kinds->item(0, 0)->text(), u"まだ記録がありません"_qs);
        QCOMPARE(kinds->columnSpan(0, 0), kinds->columnCount());
    }

    // The report of the child shown, through the print flow: printed after
    // Yes with the child's nickname and the grid's marks, nothing after No;
    // the message line is left as it was.
    void printReport_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<int>("pages");
        QTest::newRow("yes") << Answer::kYes << 1;
        QTest::newRow("no") << Answer::kNo << 0;
    }
    void printReport()
    {
        QFETCH(Answer, answer);
        QFETCH(int, pages);
        QTemporaryDir dir;
        const QString file = dir.filePath("records.sqlite");
        writeHistory(file, false);
        ScriptedDialogs dialogs;
        dialogs.answers.push_back(answer);
        test_support::RecordingSurface recorded({2480, 3508});
        kiroku::RecordsWindow window(dialogs, file, nullptr, [&](QPrinter&) {
            return std::make_unique<ForwardingSurface>(recorded);
        });
        openChildPage(window);
        named<QPushButton>(window, "印刷…")->click();
        QCOMPARE(recorded.pages, pages);
        QCOMPARE(dialogs.count("printer"), pages);
        QVERIFY(dialogs.texts("confirm").value(0).contains("たろう"));
        QVERIFY(named<QLineEdit>(window, "印刷のようす")->text().isEmpty());
        QStringList texts;
        for (const auto& [at, text] : recorded.textsOnPage(0)) texts << text;
        QCOMPARE(texts.contains("たろう"), pages > 0);
        QCOMPARE(texts.contains("△ 56") && texts.contains("◎ 6"), pages > 0);
    }
};

int main(int argc, char* argv[])
{
    // The switch is written into a scratch settings folder, never the user's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestRecordsWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_records_window.moc"
