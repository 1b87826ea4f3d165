// SPDX-License-Identifier: GPL-3.0-or-later
// The records file, against real SQLite files: what one answer writes, the
// nicknames refused, a child deleted without trace, and the faults a family
// computer meets (a damaged, foreign or newer file, a full disk, a program
// killed while writing, two drills writing at once).
#include "records/drill/records_writer.h"
#include "records/reads/child_page.h"
#include "records/reads/review.h"
#include "records/store/records_store.h"

#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <ctime>

using namespace common::records;

namespace {

// One number from a query on the store's own connection.
qint64 scalar(const RecordsStore& store, const QString& sql)
{
    QSqlQuery q(QSqlDatabase::database(store.connectionName(), false));
    if (!q.exec(sql) || !q.next()) return -1;
    return q.value(0).toLongLong();
}

common::AnswerRecord answer(const QString& fact, const QString& typed, bool correct,
                            int attempt = 1)
{
    common::AnswerRecord a;
    a.position = 1;
    a.fact = fact;
    a.rightAnswer = QStringLiteral("56");
    a.typed = typed;
    a.attempt = attempt;
    a.correct = correct;
    a.elapsedMs = 1200;
    a.answeredAt = QDateTime::currentDateTimeUtc();
    return a;
}

const common::SetRecord kSet{QStringLiteral("numira"), QStringLiteral("table:7"), 9, {}};

QByteArray fileBytes(const QString& file)
{
    QByteArray all;
    for (const QString& f : {file, file + QStringLiteral("-wal")}) {
        QFile in(f);
        if (in.open(QIODevice::ReadOnly)) all += in.readAll();
    }
    return all;
}

// What removing answers leaves alone: facts, sets, kinds' counts, the review.
QStringList summaries(RecordsStore& store, qint64 child)
{
    QStringList kept;
    QSqlQuery q(QSqlDatabase::database(store.connectionName(), false));
    for (const char* sql : {"SELECT * FROM facts", "SELECT * FROM sets"})
        for (q.exec(sql); q.next();)
            for (int i = 0; i < q.record().count(); ++i) kept << q.value(i).toString();
    for (const KindSummary& k :
         readChildPage(store.connection(), child, QDateTime::currentDateTime()).kinds)
        kept << u"%1 %2 %3 %4"_qs.arg(k.choice).arg(k.sets).arg(k.problems).arg(k.firstTryPercent);
    for (const ReviewProblem& r : readReviewSet(store.connection(), child, QDate::currentDate(), 1))
        kept << r.fact;
    return kept;
}

} // namespace

class TestRecordsStore : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString file() const { return m_dir.filePath(QStringLiteral("sub/records.sqlite")); }

    // A file of one child's answers, grown by `padding` (rows into a table
    // of blobs) when given, closed cleanly.
    bool writeAnswers(int count, const char* padding = nullptr) const
    {
        RecordsStore store;
        qint64 child = 0;
        if (store.open(file()) != Opening::kOpened || store.addChild(u"たろう"_qs, &child))
            return false;
        for (int i = 0; i < count; ++i) {
            qint64 setId = 0;
            if (!store.recordAnswer(child, kSet, setId, answer("mul:7x8", "56", true)))
                return false;
        }
        QSqlQuery q(QSqlDatabase::database(store.connectionName(), false));
        return !padding || (q.exec("CREATE TABLE padding(b BLOB)") && q.exec(padding));
    }

private slots:
    void initTestCase()
    {
        qputenv("TZ", "Asia/Tokyo");
        tzset();
    }
    void init() { QDir(m_dir.filePath(QStringLiteral("sub"))).removeRecursively(); }

    void freshFileIsPrivateAndConfigured()
    {
        RecordsStore store;
        QCOMPARE(store.open(file()), Opening::kOpened);
        QCOMPARE(QFile::permissions(file()) & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(QFile::permissions(QFileInfo(file()).path()) & 0x7077,
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(scalar(store, "PRAGMA application_id"), 0x4E4D4252);
        QCOMPARE(scalar(store, "PRAGMA user_version"), schemaVersion());
        QCOMPARE(scalar(store, "PRAGMA foreign_keys"), 1);
        QCOMPARE(scalar(store, "PRAGMA secure_delete"), 1);
        QSqlQuery q(QSqlDatabase::database(store.connectionName(), false));
        QVERIFY(q.exec("PRAGMA journal_mode") && q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("wal"));
    }

    void nicknames_data()
    {
        QTest::addColumn<QString>("nickname");
        QTest::addColumn<QString>("stored"); // empty: refused
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("blanks") << u" \t　 "_qs << "";
        QTest::newRow("41 characters") << QString(41, u'あ') << "";
        QTest::newRow("40 characters") << QString(40, u'あ') << QString(40, u'あ');
        QTest::newRow("control") << u"た\u0007ろう"_qs << "";
        QTest::newRow("newline") << "ta\nro"
                                 << "";
        QTest::newRow("duplicate") << u" たろう "_qs << "";
        QTest::newRow("blanks cut") << u"　はなこ "_qs << u"はなこ"_qs;
        QTest::newRow("SQL kept literally") << "Bobby'); DROP TABLE children;--"
                                            << "Bobby'); DROP TABLE children;--";
        QTest::newRow("quotes") << "\"O'Hara\""
                                << "\"O'Hara\"";
    }
    void nicknames()
    {
        QFETCH(QString, nickname);
        QFETCH(QString, stored);
        RecordsStore store;
        QCOMPARE(store.open(file()), Opening::kOpened);
        QVERIFY(!store.addChild(u"たろう"_qs));
        const auto problem = store.addChild(nickname);
        QCOMPARE(problem.has_value(), stored.isEmpty());
        if (problem) QVERIFY(!problem->isEmpty());
        QCOMPARE(store.children().size(), stored.isEmpty() ? 1 : 2);
        if (!stored.isEmpty()) QCOMPARE(store.children().last().nickname, stored);
        // Renaming follows the same rules, and a stored name is taken.
        const qint64 first = store.children().first().id;
        QCOMPARE(store.renameChild(first, nickname).has_value(),
                 nickname.trimmed() != u"たろう"_qs);
        QVERIFY(!store.renameChild(first, u"じろう"_qs));
    }

    void answersSetsAndFacts()
    {
        RecordsStore store;
        QCOMPARE(store.open(file()), Opening::kOpened);
        qint64 child = 0, setId = 0;
        QVERIFY(!store.addChild(u"たろう"_qs, &child));
        QVERIFY(store.recordAnswer(child, kSet, setId, answer("mul:7x8", "54", false)));
        QVERIFY(store.recordAnswer(child, kSet, setId, answer("mul:7x8", "56", true, 2)));
        QVERIFY(store.recordAnswer(child, kSet, setId, answer("mul:7x9", "63", true)));
        QVERIFY(store.endSet(setId, 50, QDateTime::currentDateTimeUtc()));
        qint64 nextSet = 0;
        QVERIFY(store.recordAnswer(child, kSet, nextSet, answer("mul:7x8", "56", true)));
        QVERIFY(nextSet != setId);
        QCOMPARE(scalar(store, "SELECT count(*) FROM sets"), 2);
        QCOMPARE(scalar(store, "SELECT count(*) FROM answers"), 4);
        QCOMPARE(scalar(store, "SELECT score FROM sets WHERE ended_at IS NOT NULL"), 50);
        // Only first tries count for a fact: 7×8 seen twice, right once, streak 1.
        QCOMPARE(scalar(store, "SELECT seen * 100 + first_try_right * 10 + streak FROM facts "
                               "WHERE fact = 'mul:7x8'"),
                 211);
        QCOMPARE(scalar(store, "SELECT count(*) FROM facts"), 2);
    }

    void deletedChildLeavesNothingReadable()
    {
        RecordsStore store;
        QCOMPARE(store.open(file()), Opening::kOpened);
        qint64 gone = 0, kept = 0;
        QVERIFY(!store.addChild(QStringLiteral("Zebediah"), &gone));
        QVERIFY(!store.addChild(QStringLiteral("Keeper"), &kept));
        for (int i = 0; i < 200; ++i) {
            qint64 setId = 0;
            QVERIFY(store.recordAnswer(gone, kSet, setId, answer("mul:7x8", "qwertyuiop", false)));
            QVERIFY(store.recordAnswer(kept, kSet, setId = 0, answer("mul:7x8", "56", true)));
        }
        QVERIFY(fileBytes(file()).contains("qwertyuiop"));
        QVERIFY(store.deleteChild(gone));
        QCOMPARE(scalar(store, "SELECT count(*) FROM answers"), 200);
        QCOMPARE(scalar(store, "SELECT count(*) FROM facts"), 1);
        // Read while the file is still open, and after it is closed.
        const QByteArray whileOpen = fileBytes(file());
        store.close();
        for (const QByteArray& bytes : {whileOpen, fileBytes(file())}) {
            QVERIFY(!bytes.contains("Zebediah"));
            QVERIFY(!bytes.contains("qwertyuiop"));
            QVERIFY(bytes.contains("Keeper"));
        }
    }

    void damagedOrForeignFileIsMovedAside_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<bool>("journal"); // its journal still holds pages
        QTest::newRow("not a database") << "text" << false;
        QTest::newRow("not a database, its journal beside it") << "text" << true;
        QTest::newRow("truncated") << "truncate" << false;
        QTest::newRow("another program's database") << "foreign" << false;
        QTest::newRow("pages scrambled") << "scramble" << false;
    }
    void damagedOrForeignFileIsMovedAside()
    {
        QFETCH(QString, damage);
        QFETCH(bool, journal);
        QVERIFY(writeAnswers(300));
        QByteArray wal;
        if (journal) {
            // The journal of a file still open, put back once it is closed.
            RecordsStore store;
            QCOMPARE(store.open(file()), Opening::kOpened);
            QVERIFY(!store.addChild(u"じろう"_qs));
            QFile in(file() + "-wal");
            QVERIFY(in.open(QIODevice::ReadOnly) && !(wal = in.readAll()).isEmpty());
        }
        QFile f(file());
        QVERIFY(f.open(QIODevice::ReadWrite));
        if (damage == "text") {
            f.resize(0);
            f.write(QByteArray(4096, 'x'));
        } else if (damage == "truncate") {
            f.resize(f.size() / 2);
        } else if (damage == "scramble") {
            f.seek(4096 * 2);
            f.write(QByteArray(4096 * 3, '\x5a'));
        }
        f.close();
        if (QFile out(file() + "-wal"); journal)
            QVERIFY(out.open(QIODevice::WriteOnly) && out.write(wal) == wal.size());
        if (damage == "foreign") {
            QFile::remove(file());
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
            db.setDatabaseName(file());
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec("CREATE TABLE photos(id INTEGER)"));
            db.close();
            db = {};
            QSqlDatabase::removeDatabase("foreign");
        }
        const QByteArray before = fileBytes(file());

        RecordsStore store;
        QCOMPARE(store.open(file()), Opening::kMovedAside);
        QVERIFY(store.movedTo().startsWith(file() + ".damaged-"));
        QCOMPARE(fileBytes(store.movedTo()).left(before.size()), before);
        QCOMPARE(store.takeNotices().size(), 1);
        QCOMPARE(store.takeNotices().size(), 0); // told once
        QVERIFY(!store.addChild(u"はなこ"_qs));
        QCOMPARE(store.children().size(), 1);
        // A second damage keeps the first one's file too.
        store.close();
        QFile::resize(file(), 100);
        QCOMPARE(store.open(file()), Opening::kMovedAside);
        QCOMPARE(QDir(QFileInfo(file()).path()).entryList({"*.damaged-*[0-9]"}, QDir::Files).size(),
                 2);
    }

    // A large file is read page by page only when it may be damaged: a
    // journal left behind or a damage met in use. A clean one opens at once.
    void largeFileIsCheckedWholeOnlyWhenItMayBeDamaged_data()
    {
        QTest::addColumn<QString>("left");
        QTest::addColumn<bool>("checked");
        QTest::newRow("closed cleanly") << "" << false;
        QTest::newRow("a journal left behind") << "-wal" << true;
        QTest::newRow("a damage met in use") << ".check" << true;
    }
    void largeFileIsCheckedWholeOnlyWhenItMayBeDamaged()
    {
        QFETCH(QString, left);
        QFETCH(bool, checked);
        QVERIFY(writeAnswers(300, "INSERT INTO padding VALUES(zeroblob(40 * 1024 * 1024))"));
        QVERIFY(!QFileInfo::exists(file() + "-wal"));
        QFile f(file());
        QVERIFY(f.open(QIODevice::ReadWrite) && f.seek(4096 * 2));
        f.write(QByteArray(4096 * 3, '\x5a'));
        f.close();
        if (!left.isEmpty()) {
            QFile companion(file() + left);
            QVERIFY(companion.open(QIODevice::WriteOnly));
            companion.write(QByteArray(64, '\x01'));
        }
        RecordsStore store;
        QCOMPARE(store.open(file()), checked ? Opening::kMovedAside : Opening::kOpened);
        QVERIFY(!QFileInfo::exists(file() + ".check"));
    }

    void newerFileIsReadOnly()
    {
        {
            RecordsStore store;
            QCOMPARE(store.open(file()), Opening::kOpened);
            QVERIFY(!store.addChild(u"たろう"_qs));
            QSqlQuery(QSqlDatabase::database(store.connectionName()))
                .exec("PRAGMA user_version=99");
        }
        RecordsStore store;
        QCOMPARE(store.open(file()), Opening::kReadOnly);
        QVERIFY(store.isReadOnly());
        QCOMPARE(store.children().size(), 1);
        QVERIFY(store.addChild(u"はなこ"_qs));
        qint64 setId = 0;
        QVERIFY(!store.recordAnswer(1, kSet, setId, answer("mul:7x8", "56", true)));
        QCOMPARE(scalar(store, "PRAGMA user_version"), 99);
    }

    void fullDiskKeepsWhatWasWritten()
    {
        RecordsStore store;
        QCOMPARE(store.open(file()), Opening::kOpened);
        qint64 child = 0;
        QVERIFY(!store.addChild(u"たろう"_qs, &child));
        const qint64 pages = scalar(store, "PRAGMA page_count");
        QSqlQuery(QSqlDatabase::database(store.connectionName()))
            .exec(QStringLiteral("PRAGMA max_page_count=%1").arg(pages + 2));
        int written = 0;
        for (qint64 setId = 0; written < 5000; ++written) {
            if (!store.recordAnswer(child, kSet, setId, answer("mul:7x8", QString(40, 'a'), true)))
                break;
        }
        QVERIFY2(written > 0 && written < 5000, qPrintable(QString::number(written)));
        QVERIFY(store.errorText().contains("full"));
        store.close();
        QCOMPARE(store.open(file()), Opening::kOpened);
        QCOMPARE(scalar(store, "SELECT count(*) FROM answers"), written);
        QCOMPARE(scalar(store, "SELECT seen FROM facts"), written);
    }

    // A write that failed holds no lock: another program writes at once, and
    // the next answer is recorded.
    void failedAnswerIsUndone_data()
    {
        QTest::addColumn<bool>("full");
        QTest::newRow("a child that is not there") << false;
        QTest::newRow("the disk full") << true;
    }
    void failedAnswerIsUndone()
    {
        QFETCH(bool, full);
        RecordsStore store;
        QCOMPARE(store.open(file()), Opening::kOpened);
        qint64 child = 0, setId = 0;
        QVERIFY(!store.addChild(u"たろう"_qs, &child));
        const qint64 pages = scalar(store, "PRAGMA page_count");
        scalar(store, u"PRAGMA max_page_count=%1"_qs.arg(full ? pages : pages + 1000));
        QVERIFY(!store.recordAnswer(full ? child : child + 1, kSet, setId,
                                    answer("mul:7x8", QString(8000, 'a'), false)));
        QVERIFY2(store.errorText().contains(full ? "full" : "FOREIGN KEY"),
                 qPrintable(store.errorText()));
        QCOMPARE(scalar(store, "PRAGMA max_page_count=100000"), 100000);
        RecordsStore other;
        QCOMPARE(other.open(file()), Opening::kOpened);
        QVERIFY(!other.addChild(u"はなこ"_qs));
        QVERIFY(store.recordAnswer(child, kSet, setId = 0, answer("mul:7x8", "56", true)));
        QCOMPARE(scalar(other, "SELECT count(*) FROM answers"), 1);
    }

    void unusableFolderFails()
    {
        QFile blocker(m_dir.filePath("sub"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        RecordsStore store;
        QCOMPARE(store.open(file()), Opening::kFailed);
        QVERIFY(!store.errorText().isEmpty());
        QFile::remove(m_dir.filePath("sub"));
    }

    // A drill process killed while it writes: nothing written is lost, the
    // file stays whole and every answer is matched by its fact row.
    void killedWriter_data()
    {
        QTest::addColumn<bool>("writing");
        QTest::newRow("after the answers were written") << false;
        QTest::newRow("in the middle of writing") << true;
    }
    void killedWriter()
    {
        QFETCH(bool, writing);
        prepareChild();
        QProcess probe;
        probe.start(probePath(), {file(), "numira", "40", writing ? "hang" : "wait"});
        QVERIFY(probe.waitForReadyRead(30000));
        QCOMPARE(probe.readLine().trimmed(), QByteArray("written 40"));
        if (writing) QTest::qWait(150);
        ::kill(static_cast<pid_t>(probe.processId()), SIGKILL);
        QVERIFY(probe.waitForFinished());
        RecordsStore store;
        QCOMPARE(store.open(file()), Opening::kOpened);
        QSqlQuery q(QSqlDatabase::database(store.connectionName()));
        QVERIFY(q.exec("PRAGMA integrity_check") && q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
        const qint64 answers = scalar(store, "SELECT count(*) FROM answers");
        if (writing)
            QVERIFY(answers > 40);
        else
            QCOMPARE(answers, 40);
        QCOMPARE(scalar(store, "SELECT sum(seen) FROM facts"), answers);
    }

    // A disk that fills up under a drill: one line on standard error, the
    // drill answers on, what was written stays, and the next start records.
    void fullDiskStopsOnlyTheRecords()
    {
        prepareChild();
        QProcess probe;
        probe.start(probePath(), {file(), "bairo", "500", "full"});
        QVERIFY(probe.waitForFinished(60000));
        QCOMPARE(probe.readAllStandardOutput(), QByteArray("written 500\n"));
        const QList<QByteArray> lines = probe.readAllStandardError().trimmed().split('\n');
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines.first().startsWith("records: "));
        qint64 before = 0;
        {
            RecordsStore store;
            QCOMPARE(store.open(file()), Opening::kOpened);
            before = scalar(store, "SELECT count(*) FROM answers");
            QVERIFY2(before > 0 && before < 500, qPrintable(QString::number(before)));
            QCOMPARE(scalar(store, "SELECT sum(seen) FROM facts"), before);
        }
        probe.start(probePath(), {file(), "bairo", "10"});
        QVERIFY(probe.waitForFinished(60000));
        RecordsStore store;
        QCOMPARE(store.open(file()), Opening::kOpened);
        QCOMPARE(scalar(store, "SELECT count(*) FROM answers"), before + 10);
    }

    void twoDrillsAtOnce()
    {
        prepareChild();
        QProcess numira, bairo;
        numira.start(probePath(), {file(), "numira", "1000"});
        bairo.start(probePath(), {file(), "bairo", "1000"});
        for (QProcess* p : {&numira, &bairo}) {
            QVERIFY(p->waitForFinished(120000));
            QCOMPARE(p->exitCode(), 0);
            QCOMPARE(p->readAllStandardError(), QByteArray());
        }
        RecordsStore store;
        QCOMPARE(store.open(file()), Opening::kOpened);
        QCOMPARE(scalar(store, "SELECT count(*) FROM answers"), 2000);
        QCOMPARE(scalar(store, "SELECT count(*) FROM answers a JOIN sets s ON a.set_id = s.id "
                               "WHERE s.program = 'bairo'"),
                 1000);
    }

    // Answers around where the months kept begin (local midnight, UTC+9) in a
    // file brought up from version 2 keeping all: a drill's start removes the
    // older ones from file and journal, summaries unchanged; once a day.
    void removingOldAnswers_data()
    {
        QTest::addColumn<int>("months");
        QTest::addColumn<int>("minutes"); // after local midnight `months` months back
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("removed");
        QTest::newRow("a minute before") << 3 << -1 << 1 << true;
        QTest::newRow("local midnight") << 3 << 0 << 1 << false;
        QTest::newRow("the UTC day before") << 3 << 8 * 60 + 59 << 1 << false;
        QTest::newRow("many transactions") << 12 << -3 * 24 * 60 << 4500 << true;
        QTest::newRow("all kept") << kKeepAll << -400 * 24 * 60 << 1 << false;
    }
    void removingOldAnswers()
    {
        QFETCH(int, months);
        QFETCH(int, minutes);
        QFETCH(int, count);
        QFETCH(bool, removed);
        common::AnswerRecord old = answer("mul:6x7", {}, false);
        old.answeredAt =
            QDateTime(QDate::currentDate().addMonths(-months), QTime(0, 0)).addSecs(minutes * 60);
        RecordsStore store;
        QCOMPARE(store.open(file()), Opening::kOpened);
        qint64 child = 0, setId = 0;
        QVERIFY(!store.addChild(u"たろう"_qs, &child));
        for (int i = 0; i < count; ++i) {
            old.typed = u"gone%1x"_qs.arg(i);
            QVERIFY(store.recordAnswer(child, kSet, setId, old));
        }
        QVERIFY(store.recordAnswer(child, kSet, setId = 0, answer("mul:7x8", "54", false)));
        const QStringList before = summaries(store, child);
        const qint64 left = scalar(store, "SELECT count(*) FROM answers") - (removed ? count : 0);
        const QByteArray last = old.typed.toUtf8();
        QVERIFY(fileBytes(file()).contains(last));
        QSqlQuery back(QSqlDatabase::database(store.connectionName()));
        QVERIFY(
            back.exec("ALTER TABLE facts DROP right_times") &&
            back.exec("ALTER TABLE answers DROP limit_ms") &&
            back.exec("ALTER TABLE children DROP base_limit_ms") &&
            back.exec("ALTER TABLE rules DROP timed") && back.exec("DROP TABLE outbox") &&
            back.exec("DROP INDEX sets_by_uid") && back.exec("DROP INDEX answers_by_uid") &&
            back.exec("ALTER TABLE sets DROP uid") && back.exec("ALTER TABLE answers DROP uid") &&
            back.exec("DROP INDEX children_by_login") &&
            back.exec("ALTER TABLE children DROP login") &&
            back.exec("DROP INDEX facts_missed_by_due") && back.exec("DROP TABLE keeping") &&
            back.exec("DROP TABLE paths") && back.exec("DROP TABLE steps_passed") &&
            back.exec("ALTER TABLE children DROP grade") &&
            back.exec("ALTER TABLE children DROP day_problems") &&
            back.exec("ALTER TABLE children DROP placing") && back.exec("PRAGMA user_version = 2"));
        back = QSqlQuery();
        store.close();
        QCOMPARE(store.open(file()), Opening::kOpened);
        QCOMPARE(store.keptMonths(), kKeepAll);
        QVERIFY(store.setKeptMonths(months));
        const auto startDrill = [&] {
            RecordsWriter(file()).open([](const OpenedRecords&) {});
            return scalar(store, "SELECT count(*) FROM answers");
        };
        QCOMPARE(startDrill(), left);
        QCOMPARE(fileBytes(file()).contains(last), !removed);
        QCOMPARE(summaries(store, child), before);
        QVERIFY(store.recordAnswer(child, kSet, setId = 0, old));
        QCOMPARE(startDrill(), left + 1);
    }

private:
    static QString probePath()
    {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/records_probe");
    }
    void prepareChild()
    {
        RecordsStore store;
        QCOMPARE(store.open(file()), Opening::kOpened);
        QVERIFY(!store.addChild(u"たろう"_qs));
    }
};

QTEST_GUILESS_MAIN(TestRecordsStore)
#include "test_records_store.moc"
