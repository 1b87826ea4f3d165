// SPDX-License-Identifier: GPL-3.0-or-later
// Worksheets written to a PDF file without a window: pages in order, and no
// partial or replaced file after a failure.
#include "common/sheet_file.h"
#include "tests/support/pdf_text.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSheetFile : public QObject {
    Q_OBJECT
private slots:
    void setsFollowEachOther()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"sheets.pdf"_qs);
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        QList<common::Worksheet> sets;
        for (int s = 1; s <= 2; ++s) {
            common::Worksheet sheet{u"ＭＳゴシック"_qs, 20, {}, {}};
            for (int i = 1; i <= 21; ++i) {
                sheet.problems << QStringLiteral("%1+%2 =").arg(s).arg(i);
                sheet.answers << QStringLiteral("%1+%2 =%3").arg(s).arg(i).arg(s + i);
            }
            sets << sheet;
        }
        QString error;
        QVERIFY2(common::writeWorksheetPdf(path, sets, &error), qPrintable(error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"sheets.pdf"});
        const QString pdftotext = test_support::pdftotextPath();
        if (pdftotext.isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
        QStringList pages;
        QVERIFY(test_support::readPdfPages(pdftotext, path, pages));
        QCOMPARE(pages.size(), 8);
        QVERIFY(pages[0].contains(u"1+1 ="_qs) && pages[1].contains(u"1+21 ="_qs));
        QVERIFY(pages[2].contains(u"1+1 =2"_qs) && pages[3].contains(u"1+21 =22"_qs));
        QVERIFY(pages[4].contains(u"2+1 ="_qs) && pages[7].contains(u"2+21 =23"_qs));
        QVERIFY(!pages[4].contains(u"2+1 =3"_qs));
    }

    void failureLeavesNoFile()
    {
        QTemporaryDir dir;
        QString error;
        const common::Worksheet sheet{u"ＭＳゴシック"_qs, 20, {u"1+1 ="_qs}, {u"1+1 =2"_qs}};
        QVERIFY(!common::writeWorksheetPdf(dir.filePath(u"missing/a.pdf"_qs), {sheet}, &error));
        QVERIFY(error.contains(u"missing"_qs));
        QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    }
};

QTEST_MAIN(TestSheetFile)
#include "test_sheet_file.moc"
