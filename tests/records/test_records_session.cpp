// SPDX-License-Identifier: GPL-3.0-or-later
// A drill's records session against a real file: who is playing is asked only with two children or
// more, and the answers go to the child chosen; off, no file is made.
#include "records/drill/records_session.h"
#include "records/store/records_store.h"
#include "tests/support/doubles.h"

#include <QDir>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace common::records;

class TestRecordsSession : public QObject {
    Q_OBJECT
private slots:
    void whoIsPlaying_data()
    {
        QTest::addColumn<QStringList>("children");
        QTest::addColumn<int>("pick");       // the scripted choice, -1: box closed
        QTest::addColumn<QString>("player"); // whose answer is kept, empty: none
        QTest::newRow("no child") << QStringList{} << -1 << "";
        QTest::newRow("one child: not asked") << QStringList{"たろう"} << -1 << "たろう";
        QTest::newRow("two: the first chosen") << QStringList{"たろう", "はなこ"} << 0 << "たろう";
        QTest::newRow("two: the second chosen") << QStringList{"たろう", "はなこ"} << 1 << "はなこ";
        QTest::newRow("two: box closed") << QStringList{"たろう", "はなこ"} << -1 << "";
    }
    void whoIsPlaying()
    {
        QFETCH(QStringList, children);
        QFETCH(int, pick);
        QFETCH(QString, player);
        QTemporaryDir dir;
        const QString file = dir.filePath("records/records.sqlite");
        {
            RecordsStore store;
            QCOMPARE(store.open(file), Opening::kOpened);
            for (const QString& name : children) QVERIFY(!store.addChild(name));
        }
        test_support::ScriptedDialogs dialogs;
        dialogs.picks.push_back(pick);
        common::RecordsSession session(dialogs, file);
        QWidget window;
        session.startAfterFirstPaint(window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int asked = children.size() >= 2 ? 1 : 0;
        QTRY_COMPARE(dialogs.count("pick"), asked);
        if (asked)
            QCOMPARE(dialogs.texts("pick").first(), u"だれがやるの？|"_qs + children.join('|'));
        QTest::qWait(50);
        QCOMPARE(dialogs.count("pick"), asked);

        common::AnswerLog log(session.service());
        log.setStarted("numira", "table:7", 9);
        log.answered(1, "mul:7x8", "56", "56", true, false);
        session.flush();
        RecordsStore store;
        QCOMPARE(store.open(file), Opening::kOpened);
        QSqlQuery q(QSqlDatabase::database(store.connectionName()));
        QVERIFY(q.exec("SELECT c.nickname FROM answers a JOIN sets s ON a.set_id = s.id "
                       "JOIN children c ON s.child_id = c.id"));
        QCOMPARE(q.next() ? q.value(0).toString() : QString(), player);
    }

    void offTouchesNoFile()
    {
        test_support::ScriptedDialogs dialogs;
        common::RecordsSession session(dialogs, QString());
        QCOMPARE(&session.service(), &common::nullRecords());
        QWidget window;
        session.startAfterFirstPaint(window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(50);
        QCOMPARE(dialogs.shown.size(), 0);
    }
};

QTEST_MAIN(TestRecordsSession)
#include "test_records_session.moc"
