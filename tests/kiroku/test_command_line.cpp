// SPDX-License-Identifier: GPL-3.0-or-later
// kiroku --export and --report run as a process: the CSV a spreadsheet opens,
// the PDF of the reports, and how bad input and an unwritable output are
// refused.
#include "records/store/records_store.h"
#include "tests/support/command_run.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kProgram = qEnvironmentVariable("APP_PROGRAM");
}

class TestCommandLine : public QObject {
    Q_OBJECT
    QTemporaryDir m_data;

private slots:
    void initTestCase()
    {
        qputenv("XDG_DATA_HOME", m_data.path().toUtf8());
        common::records::RecordsStore store;
        QCOMPARE(store.open(m_data.filePath("numirabairo/records.sqlite")),
                 common::records::Opening::kOpened);
        qint64 child = 0, set = 0, other = 0;
        QVERIFY(!store.addChild(u"はなこ"_qs, &other));
        QVERIFY(!store.addChild(u"たろう"_qs, &child));
        QVERIFY(!store.addChild(u"../ゆき"_qs));
        for (const char* typed : {"54", "=1+2", "5,6", "-3", "\"5\"", "@SUM(A1)"}) {
            common::AnswerRecord a{1, "mul:7x8", "56", typed, 1, false};
            a.answeredAt = QDateTime(QDate(2026, 12, 1), QTime(8, 30), Qt::UTC);
            QVERIFY(store.recordAnswer(child, {"numira", "table:7", 9}, set, a));
        }
        common::AnswerRecord missed{1, "mul:7x8", "56", "56", 1, true};
        missed.answeredAt = QDateTime(QDate(2026, 12, 2), QTime(8, 30), Qt::UTC);
        qint64 review = 0;
        QVERIFY(store.recordAnswer(child, {"numira", "review", 1}, review, missed));
    }

    void exported()
    {
        QTemporaryDir dir;
        const QString csv = dir.filePath("a.csv");
        const auto r =
            test_support::runCommand(kProgram, {"--export", u"たろう"_qs, "--output", csv});
        QCOMPARE(r.status, 0);
        QFile f(csv);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(f.permissions() & QFile::Permissions(0x7077),
                 QFile::ReadOwner | QFile::WriteOwner);
        const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 8);
        QVERIFY(lines[0].startsWith(u"日時(UTC),プログラム"_qs));
        QVERIFY2(lines[1].startsWith(
                     "2026-12-01T08:30:00.000Z,numira,\"table:7\",1,1,\"mul:7x8\",56,54,"),
                 qPrintable(lines[1]));
        QVERIFY(lines[2].contains(",'=1+2,"));
        QVERIFY(lines[3].contains(",\"5,6\","));
        QVERIFY(lines[4].contains(",-3,"));
        QVERIFY(lines[5].contains(",\"\"\"5\"\"\","));
        QVERIFY(lines[6].contains(",'@SUM(A1),"));
        QVERIFY2(lines[7].startsWith(u"2026-12-02T08:30:00.000Z,numira,\"にがて\","_qs),
                 qPrintable(lines[7]));
    }

    // The reports as a PDF: a page a child named, in a file of the owner's
    // alone, with nothing else left beside it.
    void report_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("pages");
        QTest::newRow("named after the child")
            << QStringList{"--report", u"たろう"_qs} << u"たろう.pdf"_qs << 1;
        QTest::newRow("two children, one file")
            << QStringList{"--report", u"たろう"_qs, "--report", u"はなこ"_qs, "--output", "b.pdf"}
            << "b.pdf" << 2;
        QTest::newRow("a child without answers")
            << QStringList{"--report", u"はなこ"_qs} << u"はなこ.pdf"_qs << 1;
        QTest::newRow("a name with a slash, still here")
            << QStringList{"--report", u"../ゆき"_qs} << u".._ゆき.pdf"_qs << 1;
    }
    void report()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, file);
        QFETCH(int, pages);
        QTemporaryDir dir;
        const QString before = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const auto r = test_support::runCommand(kProgram, arguments);
        QDir::setCurrent(before);
        QCOMPARE(r.status, 0);
        QCOMPARE(r.err, QString());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{file});
        QFile pdf(dir.filePath(file));
        // The owner's, the group's and others' bits.
        QCOMPARE(pdf.permissions() & QFile::Permissions(0x7077),
                 QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        QCOMPARE(QString::fromLatin1(bytes).count(QRegularExpression("/Type\\s*/Page[^s]")), pages);
    }

    // No records at all: refused as for an unknown child.
    void reportWithoutRecords()
    {
        QTemporaryDir empty;
        const QByteArray data = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", empty.path().toUtf8());
        test_support::checkRefused(kProgram, {"--report", u"たろう"_qs}, 2, "no records");
        qputenv("XDG_DATA_HOME", data);
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        QTest::newRow("nothing to do") << QStringList{"--output", "@/a.csv"} << 2 << "--export";
        QTest::newRow("no such child") << QStringList{"--export", "じろう"} << 2 << "no child";
        QTest::newRow("no such folder")
            << QStringList{"--export", u"たろう"_qs, "--output", "@/no/a.csv"} << 1 << "/no";
        QTest::newRow("report of no such child")
            << QStringList{"--report", u"たろう"_qs, "--report", "じろう"} << 2 << "no child";
        QTest::newRow("report and export")
            << QStringList{"--report", u"たろう"_qs, "--export", u"たろう"_qs} << 2 << "not both";
        QTest::newRow("report into no such folder")
            << QStringList{"--report", u"たろう"_qs, "--output", "@/no/a.pdf"} << 1 << "/no";
    }
    void refused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, says);
        test_support::checkRefused(kProgram, arguments, status, says);
    }
};

QTEST_MAIN(TestCommandLine)
#include "test_command_line.moc"
