// SPDX-License-Identifier: GPL-3.0-or-later
// A school's server as a teacher reads it, on the private PostgreSQL cluster
// the test command starts: the same records in a file and on the server give
// the same pages; the records window turned to the server and back.
#include "kiroku/page_words.h"
#include "kiroku/ui/records_window.h"
#include "records/drill/records_place.h"
#include "records/reads/answers_csv.h"
#include "records/reads/class_page.h"
#include "records/store/records_store.h"
#include "tests/support/command_run.h"
#include "tests/support/doubles.h"
#include "tests/support/school_server.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

using namespace common::records;

namespace {

template <typename T> T* named(QWidget& window, const QString& name)
{
    for (T* w : window.findChildren<T*>())
        if (w->accessibleName() == name) return w;
    qFatal("no control named %s", qPrintable(name));
}

// A child added as `name`, then its answers among `answers` ("child choice
// attempt right daysAgo": "A table:7 1 y 2") written as the drills write
// them; a new set begins where the choice or the day changes.
void writeAnswers(RecordsStore& store, const QString& child, const QString& name,
                  const QStringList& answers, const QDateTime& now)
{
    qint64 id = 0, set = 0;
    QVERIFY(!store.addChild(name, &id));
    QString last;
    for (int n = 1; const QString& line : answers) {
        const QStringList f = line.split(u' ');
        if (f[0] != child) continue;
        set = f[1] + f[4] == last ? set : 0;
        last = f[1] + f[4];
        common::AnswerRecord a;
        a.position = n;
        a.fact = QStringLiteral("mul:%1x7").arg(1 + n % 9);
        a.rightAnswer = QString::number((1 + n % 9) * 7);
        a.correct = f[3] == u"y";
        a.typed = a.correct ? a.rightAnswer : QStringLiteral("1");
        a.attempt = f[2].toInt();
        a.elapsedMs = 1000 * n;
        a.answeredAt = now.addDays(-f[4].toInt()).addSecs(n++);
        common::SetRecord kind;
        kind.program = f[1].startsWith(u"lcm") ? QStringLiteral("bairo") : QStringLiteral("numira");
        kind.choice = f[1];
        QVERIFY(store.recordAnswer(id, kind, set, a));
    }
}

// What a page shows, one line a cell or a figure, to compare two pages.
QStringList described(const ClassPage& page)
{
    QStringList lines;
    for (const ClassRow& row : page.rows)
        for (const KindSummary& k : row.kinds)
            lines << QStringLiteral("%1 %2:%3 %4 %5 %6% %7")
                         .arg(row.nickname, k.program, k.choice)
                         .arg(k.sets)
                         .arg(k.problems)
                         .arg(k.firstTryPercent)
                         .arg(k.lastPractised.toString(Qt::ISODateWithMs));
    return lines;
}

QStringList described(RecordsStore& store, qint64 child)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const ChildPage page = readChildPage(store.connection(), child, now);
    QStringList lines;
    for (const KindSummary& k : page.kinds) lines << k.choice << QString::number(k.medianMs);
    for (const DaySummary& d : page.days)
        lines << QStringLiteral("%1 %2").arg(d.problems).arg(d.firstTryPercent);
    for (const MissedFact& m : page.mostMissed)
        lines << m.fact << QString::number(m.misses) << m.typedWrong.join(u',');
    for (const auto& f : readTableFacts(store.connection(), child, now))
        lines << QStringLiteral("%1 %2 %3 %4").arg(f.fact).arg(int(f.state)).arg(f.seen).arg(f.box);
    lines << QString::number(page.rule.rightNeeded);
    lines.sort();
    return lines;
}

} // namespace

class TestSchoolRecords : public QObject {
    Q_OBJECT
    std::unique_ptr<school::SchoolDatabase> m_server;
    QTemporaryDir m_dir;

    // The children and their answers written alike into a file and, each
    // child as its own pupil, onto the server, which held nothing before.
    // The server names a pupil's child by its login, whatever the pupil asks:
    // the file's child is named so.
    void write(const QString& file, const QStringList& children, const QStringList& answers)
    {
        QVERIFY(QSqlQuery(m_server->owner()).exec(QStringLiteral("DELETE FROM children")));
        RecordsStore local;
        QCOMPARE(local.open(file), Opening::kOpened);
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (int n = 1; n <= children.size(); ++n) {
            RecordsStore pupil;
            QCOMPARE(pupil.openServer(m_server->service(n)), Opening::kOpened);
            writeAnswers(local, children[n - 1], m_server->role(n), answers, now);
            writeAnswers(pupil, children[n - 1], children[n - 1], answers, now);
        }
    }

private slots:
    void initTestCase()
    {
        if (const QString missing = school::missingServer(); !missing.isEmpty()) {
            if (qgetenv("CI") == "true") QFAIL(qPrintable(missing));
            QSKIP(qPrintable(missing));
        }
        m_server = std::make_unique<school::SchoolDatabase>(QStringLiteral("class"), 2, 1);
        QVERIFY2(m_server->ok(), qPrintable(m_server->error()));
        qputenv("PGSERVICEFILE", m_server->serviceFile().toUtf8());
        // The teacher's password as the guide gives it: in a password file.
        qputenv("PGPASSFILE", m_server->passwordFile().toUtf8());
    }

    // The same answers in the file and on the server: the same class page,
    // and the same page of every child; one cell of the class page as the
    // answers say.
    void samePages_data()
    {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("cell"); // the cell of A's first kind
        QTest::newRow("two of three right at the first try")
            << QStringList{"A table:7 1 y 2", "A table:7 1 n 2", "A table:7 2 y 2",
                           "A table:7 1 y 2"}
            << "numira:table:7 1 3 66%";
        QTest::newRow("a child with no sets beside one with")
            << QStringList{"B add:0 1 y 0"} << "numira:add:0 0 0 0%";
        QTest::newRow("a kind with no first tries")
            << QStringList{"A lcm:easy 2 y 1", "B lcm:easy 1 n 1"} << "bairo:lcm:easy 1 0 0%";
        QTest::newRow("two sets, two programs, misses on many days")
            << QStringList{"A table:7 1 n 20", "A table:7 2 y 20", "A table:7 1 n 3",
                           "A table:7 2 n 3",  "A table:7 3 y 3",  "A lcm:easy 1 y 3",
                           "B table:7 1 n 0",  "B table:7 1 y 0"}
            << "bairo:lcm:easy 1 1 100%";
    }
    void samePages()
    {
        QFETCH(QStringList, answers);
        QFETCH(QString, cell);
        const QString file = m_dir.filePath(QTest::currentDataTag() + QStringLiteral(".sqlite"));
        write(file, {"A", "B"}, answers);
        RecordsStore local, school;
        QCOMPARE(local.open(file), Opening::kOpened);
        QCOMPARE(school.openServer(m_server->teacherService(1)), Opening::kOpened);
        const ClassPage page = readClassPage(local.connection()),
                        onServer = readClassPage(school.connection());
        QCOMPARE(page.rows.size(), 2);
        QVERIFY2(described(page).first().startsWith(m_server->role(1) + u' ' + cell),
                 qPrintable(described(page).first()));
        QCOMPARE(described(onServer), described(page));
        for (int i = 0; i < 2; ++i)
            QCOMPARE(described(school, onServer.rows[i].child),
                     described(local, page.rows[i].child));
    }

    // A child's answers as CSV from the teacher's server, as the page reads
    // them and as kiroku --export writes them, are the file's: the same lines
    // but for the set's number, which each database gives its own.
    void sameCsv_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("a formula") << "=1+1";
        QTest::newRow("an at sign first") << "@SUM(A1)";
        QTest::newRow("a plus first") << "+3";
        QTest::newRow("a minus before a letter") << "-x";
        QTest::newRow("a minus alone") << "-";
        QTest::newRow("a negative number") << "-5";
        QTest::newRow("a comma") << "5,6";
        QTest::newRow("a quote") << "say \"5\"";
        QTest::newRow("a line break") << "5\n6";
    }
    void sameCsv()
    {
        QFETCH(QString, typed);
        QVERIFY(QSqlQuery(m_server->owner()).exec(QStringLiteral("DELETE FROM children")));
        const QString file = m_dir.filePath(QTest::currentDataTag() + QStringLiteral(".sqlite"));
        RecordsStore local, pupil, school;
        QCOMPARE(local.open(file), Opening::kOpened);
        QCOMPARE(pupil.openServer(m_server->service(1)), Opening::kOpened);
        for (RecordsStore* store : {&local, &pupil}) {
            qint64 child = 0, set = 0;
            QVERIFY(!store->addChild(QStringLiteral("A"), &child));
            for (const QString& right : {QStringLiteral("56"), typed}) {
                common::AnswerRecord a;
                a.position = 1;
                a.fact = QStringLiteral("mul:7x8");
                a.rightAnswer = right;
                a.typed = typed;
                a.elapsedMs = 1200;
                a.answeredAt = QDateTime(QDate(2026, 12, 1), QTime(8, 30), Qt::UTC);
                QVERIFY(store->recordAnswer(child, {"numira", "table:7", 9}, set, a));
            }
        }
        QCOMPARE(school.openServer(m_server->teacherService(1)), Opening::kOpened);
        // The server names the pupil's child by its login.
        const QByteArray fromFile = answersCsv(local.connection(), local.children()[0].id);
        const QByteArray fromServer = answersCsv(school.connection(), school.children()[0].id);
        const auto withoutSets = [](const QByteArray& csv) {
            static const QRegularExpression set(
                QStringLiteral("^([^,\n]*,[^,\n]*,\"[^\"]*\"),\\d+,"),
                QRegularExpression::MultilineOption);
            return QString::fromUtf8(csv).replace(set, QStringLiteral("\\1,"));
        };
        QCOMPARE(fromFile.count('\n'), 3 + 3 * typed.count(u'\n'));
        QCOMPARE(withoutSets(fromServer), withoutSets(fromFile));

        QVERIFY(setRecordsServer(m_server->teacherService(1)));
        const QString exported = m_dir.filePath(QTest::currentDataTag() + QStringLiteral(".csv"));
        const auto r = test_support::runCommand(
            qEnvironmentVariable("APP_PROGRAM"),
            {"--export", school.children()[0].nickname, "--output", exported});
        QVERIFY(setRecordsServer({}));
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QFile csv(exported);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll(), fromServer);
    }

    // The window turned to the server with a service name the teacher
    // logs in with, or one there is no server for; and a window opened
    // again after a good one opens the server at once.
    void schoolSwitch_data()
    {
        QTest::addColumn<QString>("service");
        QTest::addColumn<bool>("school");
        QTest::newRow("the teacher's service") << m_server->teacherService(1) << true;
        QTest::newRow("a service not in pg_service.conf") << "nowhere" << false;
    }
    void schoolSwitch()
    {
        QFETCH(QString, service);
        QFETCH(bool, school);
        const QString file = m_dir.filePath(QTest::currentDataTag() + QStringLiteral(".sqlite"));
        write(file, {"はなこ", "たろう"}, {"たろう table:7 1 y 1"});
        QVERIFY(setRecordsServer({}));
        test_support::ScriptedDialogs dialogs;
        dialogs.inputs = {service};
        kiroku::RecordsWindow first(dialogs, m_dir.filePath(QStringLiteral("family.sqlite")));
        named<QCheckBox>(first, u"学校のサーバーの記録を見る"_qs)->click();
        QCOMPARE(dialogs.count("warning"), school ? 0 : 1);
        QCOMPARE(recordsServer(), school ? service : QString());
        kiroku::RecordsWindow window(dialogs, m_dir.filePath(QStringLiteral("family.sqlite")));
        auto* pages = named<QTabWidget>(window, u"記録のページ"_qs);
        QCOMPARE(pages->tabText(0), school ? u"クラス"_qs : u"子ども"_qs);
        if (!school) return;
        auto* table = named<QTableWidget>(window, u"クラスのようす"_qs);
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->item(1, 0)->text(), m_server->role(2));
        // Each child's step (a first year's first), its days this week, its
        // share of fluent recall facts, then its kinds.
        QCOMPARE(table->item(1, 1)->text() + table->item(1, 2)->text(),
                 kiroku::stepName(u"add:0"_qs) + u"0日"_qs);
        QCOMPARE(table->item(0, 3)->text(), u"—"_qs);
        QVERIFY(table->item(1, 4)->text().startsWith(u"100%"));
        QVERIFY(!table->item(0, 4));
        table->setCurrentCell(1, 0);
        QTest::keyClick(table, Qt::Key_Return);
        QCOMPARE(pages->currentIndex(), 1);
        QCOMPARE(named<QComboBox>(window, u"ようすを見る子ども"_qs)->currentText(),
                 m_server->role(2));
        for (const QString& edit : {u"追加…"_qs, u"名前を変える…"_qs, u"削除…"_qs})
            QVERIFY2(!named<QPushButton>(window, edit)->isEnabled(), qPrintable(edit));
        QCOMPARE(named<QTableWidget>(window, u"種類ごとの記録"_qs)->item(0, 2)->text(), u"1"_qs);
        named<QCheckBox>(window, u"学校のサーバーの記録を見る"_qs)->click();
        QCOMPARE(recordsServer(), QString());
        QCOMPARE(pages->tabText(0), u"子ども"_qs);
    }

    // The class's path from the class page: its teacher's change is the
    // class's; a pupil's is refused by the server itself and told.
    void classPath_data()
    {
        QTest::addColumn<QString>("service");
        QTest::addColumn<bool>("saved");
        QTest::newRow("the class's teacher") << m_server->teacherService(1) << true;
        QTest::newRow("a pupil of the class") << m_server->service(1) << false;
    }
    void classPath()
    {
        QFETCH(QString, service);
        QFETCH(bool, saved);
        QSqlQuery(m_server->owner()).exec(QStringLiteral("DELETE FROM class_paths"));
        QVERIFY(setRecordsServer(service));
        test_support::ScriptedDialogs dialogs;
        kiroku::RecordsWindow window(dialogs, m_dir.filePath(QStringLiteral("family.sqlite")));
        QVERIFY(setRecordsServer({}));
        // The class page's editor, apart from the child page's.
        QWidget& page = *named<QTableWidget>(window, u"クラスのようす"_qs)->parentWidget();
        QCOMPARE(named<QComboBox>(page, u"道を決めるクラス"_qs)->currentText(), u"1組"_qs);
        auto* steps = named<QTreeWidget>(page, u"れんしゅうの道"_qs);
        QVERIFY(steps->topLevelItemCount() > 2);
        const QString first = steps->topLevelItem(0)->data(0, Qt::UserRole).toString();
        steps->setCurrentItem(steps->topLevelItem(0));
        named<QPushButton>(page, u"下へ"_qs)->click();
        named<QPushButton>(page, u"きょうのステップにする"_qs)->click();
        QCOMPARE(dialogs.count("warning"), saved ? 0 : 2);
        QSqlQuery q(m_server->owner());
        q.prepare(QStringLiteral("SELECT steps, pinned FROM class_paths WHERE class_role = ?"));
        q.addBindValue(m_server->classRole(1));
        QVERIFY(q.exec());
        QCOMPARE(q.next(), saved);
        if (!saved) return;
        QCOMPARE(q.value(0).toString().split(u' ').value(1), first);
        QCOMPARE(q.value(1).toString(), first);
        QCOMPARE(steps->topLevelItem(1)->data(0, Qt::UserRole).toString(), first);
    }
};

int main(int argc, char* argv[])
{
    // The settings go into a scratch folder, never the user's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestSchoolRecords test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_school_records.moc"
