// A 100-problem worksheet, problem and answer sheets (10 pages), rendered
// to a PDF file through QPrinter with the Japanese fonts.
#include "common/fonts.h"
#include "common/worksheet_page.h"

#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

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
        QBENCHMARK {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(dir.filePath("sheet.pdf"));
            common::PrinterSurface surface(printer);
            QVERIFY(common::PrintWorksheet(surface, QStringLiteral("ＭＳゴシック"), 20, problems, answers));
        }
    }
};

QTEST_MAIN(BenchWorksheet)
#include "bench_worksheet.moc"
