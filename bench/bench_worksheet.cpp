// SPDX-License-Identifier: GPL-3.0-or-later
// A 100-problem worksheet, problem and answer sheets (10 pages), rendered
// to a PDF file through QPrinter with the Japanese fonts, as the print button
// does; and the worksheet command writing 100 such sets (1,000 pages) as a
// process of its own, with its peak memory.
#include "bench/bench_scale.h"
#include "common/fonts.h"
#include "common/worksheet_page.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

class BenchWorksheet : public QObject {
    Q_OBJECT
private slots:
    void hundredProblemsToPdf()
    {
        common::installJapaneseFonts();
        QStringList problems, answers;
        for (int i = 1; i <= 100; ++i) {
            problems << QString::number(i * 7) + QStringLiteral("÷7 =");
            answers << QString::number(i * 7) + QStringLiteral("÷7 =") + QString::number(i);
        }
        QTemporaryDir dir;
        QBENCHMARK
        {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(dir.filePath("sheet.pdf"));
            common::PrinterSurface surface(printer);
            QVERIFY(common::printWorksheets(
                surface, {{QStringLiteral("ＭＳゴシック"), 20, problems, answers}}));
        }
    }

    void thousandPagesFromTheCommand()
    {
        const QString program = QCoreApplication::applicationDirPath() + "/../bin/numira";
        if (!QFileInfo::exists(program)) QSKIP("numira is not built");
        QTemporaryDir dir;
        QBENCHMARK
        {
            QProcess p;
            p.start(program, {"--sheet", "addition:5", "--count", "100", "--sets",
                              QString::number(bench::sized(100, 1)), "--output",
                              dir.filePath("sheets.pdf")});
            QVERIFY(p.waitForFinished(60000));
            QCOMPARE(p.exitCode(), 0);
        }
        rusage children{};
        getrusage(RUSAGE_CHILDREN, &children);
        qInfo("worksheet command: %d pages; peak memory %ld KiB", bench::sized(100, 1) * 10,
              children.ru_maxrss);
    }
};

QTEST_MAIN(BenchWorksheet)
#include "bench_worksheet.moc"
