// SPDX-License-Identifier: GPL-3.0-or-later
// numira --sheet run as a process: what it writes and how it refuses.
#include "records/store/records_store.h"
#include "tests/support/command_run.h"
#include "tests/support/pdf_text.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using test_support::runCommand;

namespace {
const QString kProgram = qEnvironmentVariable("APP_PROGRAM");

// Checks "A op B =C" (or "=Q...R") with arithmetic of our own; the first
// operand through `first`.
bool answerIsRight(const QString& line, double* first)
{
    static const QRegularExpression form(
        u"^(\\d+(?:\\.\\d+)?)([-+x÷])(\\d+(?:\\.\\d+)?) =(\\d+(?:\\.\\d+)?)(?:\\.\\.\\.(\\d+))?$"_qs);
    const auto m = form.match(line);
    if (!m.hasMatch()) return false;
    const double a = m.captured(1).toDouble(), b = m.captured(3).toDouble();
    const double c = m.captured(4).toDouble();
    *first = a;
    const QString op = m.captured(2);
    double expected = 0;
    if (op == u"+")
        expected = a + b;
    else if (op == u"-")
        expected = a - b;
    else if (op == u"x")
        expected = a * b;
    else if (m.captured(5).isEmpty())
        expected = a / b;
    else
        return c == std::floor(a / b) && c * b + m.captured(5).toDouble() == a &&
               m.captured(5).toDouble() < b;
    return std::abs(expected - c) < 1e-9;
}
} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
    QTemporaryDir m_data; // the records' data folder, empty until a test writes there

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", m_data.path().toUtf8()); }

    void sheets_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("count"); // problems on each set
        QTest::addColumn<int>("sets");
        QTest::addColumn<QList<int>>("rows"); // table rows allowed as the first factor
        QTest::newRow("addition:4")
            << QStringList{"--sheet", "addition:4", "--count", "20"} << 20 << 1 << QList<int>{};
        QTest::newRow("たしざん:4, two sets")
            << QStringList{"--sheet", "たしざん:4", "--count", "21", "--sets", "2"} << 21 << 2
            << QList<int>{};
        QTest::newRow("remainders")
            << QStringList{"--sheet", "わりざん:5", "--count", "30"} << 30 << 1 << QList<int>{};
        QTest::newRow("decimals") << QStringList{"--sheet", "かけざん:9", "--count", "10"} << 10
                                  << 1 << QList<int>{};
        QTest::newRow("table rows with zero")
            << QStringList{"--sheet", "九九:2,7", "--with-zero"} << 20 << 1 << QList<int>{2, 7};
        // The edges of the ranges: the last row, 100 problems, 100 sets.
        QTest::newRow("table row 9")
            << QStringList{"--sheet", "table:9", "--with-zero"} << 10 << 1 << QList<int>{9};
        QTest::newRow("count 100")
            << QStringList{"--sheet", "addition:5", "--count", "100"} << 100 << 1 << QList<int>{};
        QTest::newRow("sets 100") << QStringList{"--sheet", "addition:1", "--count",
                                                 "1",       "--sets",     "100"}
                                  << 1 << 100 << QList<int>{};
    }
    void sheets()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, count);
        QFETCH(int, sets);
        QFETCH(QList<int>, rows);
        QTemporaryDir dir;
        const QString pdf = dir.filePath("sheets.pdf");
        const auto r = runCommand(kProgram, arguments + QStringList{"--output", pdf});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.err, QString());
        const QString pdftotext = test_support::pdftotextPath();
        if (pdftotext.isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
        QStringList pages;
        QVERIFY(test_support::readPdfPages(pdftotext, pdf, pages));
        const int perSheet = (count + 19) / 20;
        QCOMPARE(pages.size(), sets * 2 * perSheet);
        static const QRegularExpression item(u"\\S+ =\\S*"_qs);
        bool zeroSeen = false;
        for (int s = 0; s < sets; ++s) {
            QStringList problems, answers;
            for (int p = 0; p < perSheet; ++p) {
                for (auto it = item.globalMatch(pages[s * 2 * perSheet + p]); it.hasNext();)
                    problems << it.next().captured();
                for (auto it = item.globalMatch(pages[(s * 2 + 1) * perSheet + p]); it.hasNext();)
                    answers << it.next().captured();
            }
            QCOMPARE(problems.size(), count);
            QCOMPARE(answers.size(), count);
            for (int i = 0; i < count; ++i) {
                QVERIFY2(answers[i].startsWith(problems[i]), qPrintable(answers[i]));
                double first = 0;
                QVERIFY2(answerIsRight(answers[i], &first), qPrintable(answers[i]));
                if (!rows.isEmpty()) QVERIFY(rows.contains(int(first)));
                zeroSeen |= answers[i].contains(u"x0 ="_qs);
            }
        }
        if (!rows.isEmpty()) QVERIFY(zeroSeen);
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        QTest::newRow("no sheet") << QStringList{"--count", "5"} << 2 << "--sheet";
        QTest::newRow("item 0") << QStringList{"--sheet", "addition:0"} << 2 << "addition:0";
        QTest::newRow("item 10 of 9") << QStringList{"--sheet", "addition:10"} << 2 << "unknown";
        QTest::newRow("unknown category") << QStringList{"--sheet", "sums:1"} << 2 << "sums";
        QTest::newRow("no rows") << QStringList{"--sheet", "table:"} << 2 << "rows";
        QTest::newRow("row 10") << QStringList{"--sheet", "九九:2,10"} << 2 << "1 to 9";
        QTest::newRow("count 101")
            << QStringList{"--sheet", "addition:1", "--count", "101"} << 2 << "1 to 100";
        QTest::newRow("sets 0") << QStringList{"--sheet", "addition:1", "--sets", "0"} << 2
                                << "--sets";
        QTest::newRow("unknown option") << QStringList{"--kind", "addition:1"} << 2 << "kind";
        QTest::newRow("review without a child")
            << QStringList{"--sheet", "review"} << 2 << "--child";
        QTest::newRow("a child without review")
            << QStringList{"--sheet", "addition:1", "--child", "a"} << 2 << "--child";
        QTest::newRow("review without records")
            << QStringList{"--sheet", "にがて", "--child", "たろう"} << 2 << "no records";
        QTest::newRow("today without records")
            << QStringList{"--sheet", "today", "--child", "たろう"} << 2 << "no records";
        QTest::newRow("no such folder")
            << QStringList{"--sheet", "addition:1", "--output", "@/no/a.pdf"} << 1 << "/no";
    }
    void refused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, says);
        test_support::checkRefused(kProgram, arguments, status, says);
    }

    // What a child missed yesterday comes back on its review sheet; its
    // day's sheet is the same when asked again; a child not in the records is refused.
    void reviewSheet()
    {
        {
            common::records::RecordsStore store;
            QCOMPARE(store.open(m_data.filePath("numirabairo/records.sqlite")),
                     common::records::Opening::kOpened);
            qint64 child = 0, set = 0;
            QVERIFY(!store.addChild(u"たろう"_qs, &child));
            common::AnswerRecord a{1, "mul:7x8", "56", "54", 1, false};
            a.answeredAt = QDateTime::currentDateTimeUtc().addDays(-1);
            QVERIFY(store.recordAnswer(child, {"numira", "table:7", 9}, set, a));
        }
        QTemporaryDir dir;
        const QString pdf = dir.filePath("review.pdf");
        auto r =
            runCommand(kProgram, {"--sheet", "review", "--child", u"たろう"_qs, "--output", pdf});
        QCOMPARE(r.status, 0);
        QStringList pages;
        const QString pdftotext = test_support::pdftotextPath();
        if (pdftotext.isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
        QVERIFY(test_support::readPdfPages(pdftotext, pdf, pages));
        QVERIFY2(pages.first().contains("7x8 ="), qPrintable(pages.first()));
        QStringList days[2];
        for (QStringList& day : days) {
            r = runCommand(kProgram,
                           {"--sheet", "きょう", "--child", u"たろう"_qs, "--output", pdf});
            QVERIFY(r.status == 0 && test_support::readPdfPages(pdftotext, pdf, day));
        }
        QCOMPARE(days[0], days[1]);
        test_support::checkRefused(kProgram, {"--sheet", "review", "--child", "じろう"}, 2,
                                   "no child named");
        QFile::remove(m_data.filePath("numirabairo/records.sqlite"));
    }

    void listKinds()
    {
        const auto r = runCommand(kProgram, {"--list-kinds"});
        QCOMPARE(r.status, 0);
        const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 40); // 39 kinds and the table
        QCOMPARE(lines.filter(QRegularExpression(u"^わりざん:\\d+\\taddition"_qs)).size(), 0);
        QCOMPARE(lines.filter(QRegularExpression(u"^わりざん:\\d+\\tdivision:"_qs)).size(), 11);
    }
};

QTEST_MAIN(TestCommandLine)
#include "test_command_line.moc"
