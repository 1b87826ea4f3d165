// SPDX-License-Identifier: GPL-3.0-or-later
// The records window's wiring: boxes answered from a script, a real records
// file in a scratch folder, and the switch in a scratch settings folder.
#include "common/records/records_place.h"
#include "common/records/records_store.h"
#include "kiroku/ui/records_window.h"
#include "tests/support/doubles.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

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
        QTest::newRow("renamed to a taken name")
            << QStringList{add, add, rename} << QStringList{"a", "b", "a"} << QList<Answer>{}
            << QStringList{"a", "b"} << 1;
        QTest::newRow("deleted after yes") << QStringList{add, add, del} << QStringList{"a", "b"}
                                           << QList<Answer>{Answer::kYes} << QStringList{"a"} << 0;
        QTest::newRow("kept after no") << QStringList{add, del} << QStringList{"a"}
                                       << QList<Answer>{Answer::kNo} << QStringList{"a"} << 0;
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
        for (const char* edit : {"名前を変える…", "削除…"})
            QCOMPARE(named<QPushButton>(window, edit)->isEnabled(),
                     editable && !children.isEmpty());
    }

    // The check box shows the switch, writes it, and turning it on makes the file.
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
        QVERIFY(common::records::setRecordsOn(!on));
        ScriptedDialogs dialogs;
        kiroku::RecordsWindow window(dialogs, file);
        auto* box = named<QCheckBox>(window, "記録をつける");
        QCOMPARE(box->isChecked(), !on);
        box->click();
        QCOMPARE(common::records::recordsOn(), on);
        QCOMPARE(QFile::exists(file), on);
        QCOMPARE(dialogs.shown.size(), 0);
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
