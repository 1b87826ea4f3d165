// SPDX-License-Identifier: GPL-3.0-or-later
// bairo --sheet run as a process: what it writes and how it refuses.
#include "bairo/version.h"
#include "common/version.h"
#include "tests/support/command_run.h"
#include "tests/support/pdf_text.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <numeric>

using test_support::runCommand;

namespace {
const QString kProgram = qEnvironmentVariable("APP_PROGRAM");
}

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    // Each set is its problem pages and then its answer pages; every answer
    // checked against arithmetic of our own.
    void sheets_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("level");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("sets");
        QTest::newRow("lcm easy, one page") << "lcm"
                                            << "easy" << 20 << 1;
        QTest::newRow("gcd hard, two sets of 21") << "gcd"
                                                  << "hard" << 21 << 2;
        // Kind and level taken for each other would pass the two rows above.
        QTest::newRow("gcd easy") << "gcd"
                                  << "easy" << 20 << 1;
        QTest::newRow("lcm hard") << "lcm"
                                  << "hard" << 20 << 1;
    }
    void sheets()
    {
        QFETCH(QString, kind);
        QFETCH(QString, level);
        QFETCH(int, count);
        QFETCH(int, sets);
        QTemporaryDir dir;
        const QString pdf = dir.filePath("sheets.pdf");
        const auto r = runCommand(kProgram, {"--sheet", kind, "--level", level, "--count",
                                             QString::number(count), "--sets",
                                             QString::number(sets), "--output", pdf});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.err, QString());
        const QString pdftotext = test_support::pdftotextPath();
        if (pdftotext.isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
        QStringList pages;
        QVERIFY(test_support::readPdfPages(pdftotext, pdf, pages));
        const int perSheet = (count + 19) / 20;
        QCOMPARE(pages.size(), sets * 2 * perSheet);
        const bool lcm = kind == u"lcm";
        const int largest = lcm ? (level == u"easy" ? 12 : 60) : (level == u"easy" ? 90 : 400);
        static const QRegularExpression answer(u"(\\d+) と (\\d+) の(LCM|GCM)は (\\d+)"_qs);
        QStringList firstSet;
        for (int s = 0; s < sets; ++s) {
            QStringList questions;
            int answers = 0;
            for (int p = 0; p < perSheet; ++p) {
                questions << pages[s * 2 * perSheet + p];
                auto it = answer.globalMatch(pages[s * 2 * perSheet + perSheet + p]);
                for (; it.hasNext(); ++answers) {
                    const auto m = it.next();
                    const int a = m.captured(1).toInt(), b = m.captured(2).toInt();
                    QCOMPARE(m.captured(3), lcm ? u"LCM" : u"GCM");
                    QCOMPARE(m.captured(4).toInt(), lcm ? std::lcm(a, b) : std::gcd(a, b));
                    QVERIFY(a >= 1 && a <= largest && b >= 1 && b <= largest);
                    QVERIFY(questions.join(u'\n').contains(
                        QStringLiteral("%1 と %2 の%3は")
                            .arg(a)
                            .arg(b)
                            .arg(lcm ? u"最小公倍数"_qs : u"最大公約数"_qs)));
                }
            }
            QCOMPARE(answers, count);
            if (s == 0)
                firstSet = questions;
            else
                QVERIFY(questions != firstSet); // a fresh set each time
        }
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        QTest::newRow("no sheet") << QStringList{"--count", "5"} << 2 << "--sheet";
        QTest::newRow("unknown kind") << QStringList{"--sheet", "lcd"} << 2 << "lcm or gcd";
        QTest::newRow("unknown level")
            << QStringList{"--sheet", "gcd", "--level", "x"} << 2 << "easy or hard";
        QTest::newRow("count 0") << QStringList{"--sheet", "lcm", "--count", "0"} << 2
                                 << "1 to 100";
        QTest::newRow("count 101")
            << QStringList{"--sheet", "lcm", "--count", "101"} << 2 << "1 to 100";
        QTest::newRow("sets 0") << QStringList{"--sheet", "lcm", "--sets", "0"} << 2 << "--sets";
        QTest::newRow("unknown option") << QStringList{"--sheets", "lcm"} << 2 << "sheets";
        QTest::newRow("no such folder")
            << QStringList{"--sheet", "lcm", "--output", "@/no/a.pdf"} << 1 << "/no";
    }
    void refused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, says);
        test_support::checkRefused(kProgram, arguments, status, says);
    }

    void helpAndVersion()
    {
        const auto help = runCommand(kProgram, {"--help"});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.contains(u"--sheet"_qs));
        const auto version = runCommand(kProgram, {"--version"});
        QCOMPARE(version.status, 0);
        // Bairo's own version as its title shows it, beside the package's.
        QVERIFY(version.out.contains(QLatin1String(bairo::kVersion) + u" (package "_qs +
                                     QLatin1String(common::kPackageVersion)));
    }
};

QTEST_MAIN(TestCommandLine)
#include "test_command_line.moc"
