// SPDX-License-Identifier: GPL-3.0-or-later
// Prints a 20-problem Numira worksheet to PDF through the print button and
// renders its pages with pdftoppm, as a picture of a printed sheet for the
// README (docs/worksheet.png is a copy of the first page). It checks that the
// sheet comes out as two A4 pages (problems, answers) with writing on them.
#include "tests/numira/ui/window_fixture.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {
// Share of dark pixels in a band of the page: 0 for a blank band.
double inkIn(const QImage& page, int top, int bottom)
{
    int dark = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 128) ++dark;
    return double(dark) / (page.width() * (bottom - top));
}
} // namespace

class WorksheetPicture : public QObject {
    Q_OBJECT
private slots:
    void render()
    {
        const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
        if (pdftoppm.isEmpty()) QSKIP("pdftoppm (poppler-utils) is not installed");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString pdf = dir.filePath("worksheet.pdf");

        WindowFixture f;
        f.dialogs.onPrinterSetup = [pdf](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
        };
        f.fix(20);      // a fixed count of 20
        f.choose(0, 4); // addition up to 100 with carrying
        f.dialogs.answers.push_back(common::Dialogs::Answer::kYes);
        f.click("printButton");
        QCOMPARE(f.dialogs.count("warning"), 0);
        QVERIFY(QFileInfo(pdf).size() > 0);

        // 60 dpi: an A4 page of 496×702, legible and a small file.
        QProcess p;
        p.start(pdftoppm, {"-r", "60", "-gray", "-png", pdf, dir.filePath("page")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        const QStringList pages =
            QDir(dir.path()).entryList({"page-*.png"}, QDir::Files, QDir::Name);
        QCOMPARE(pages, QStringList({"page-1.png", "page-2.png"}));
        for (const QString& name : pages) {
            const QImage page(dir.filePath(name));
            QVERIFY(!page.isNull());
            QVERIFY2(qAbs(page.width() - 496) <= 1 && qAbs(page.height() - 702) <= 1,
                     qPrintable(QStringLiteral("%1x%2").arg(page.width()).arg(page.height())));
            // Writing in the top half and in the bottom half: twenty problems
            // fill the page, not just the title.
            const int half = page.height() / 2;
            QVERIFY2(inkIn(page, 0, half) > 0.002, qPrintable(name));
            QVERIFY2(inkIn(page, half, page.height()) > 0.002, qPrintable(name));
        }

        const QString out = qEnvironmentVariable("APP_SCREENSHOT_DIR", QDir::tempPath());
        QDir().mkpath(out);
        QFile::remove(out + "/worksheet.png");
        QVERIFY(QFile::copy(dir.filePath("page-1.png"), out + "/worksheet.png"));
    }
};

QTEST_MAIN(WorksheetPicture)
#include "worksheet_picture.moc"
