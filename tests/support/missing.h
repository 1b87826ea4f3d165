// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared pieces of the tests of a machine lacking an audio output, a printer
// or the Japanese fonts. A font case runs in a child process of the test (a
// font once resolved stays cached), chosen by APP_FONT_CASE.

#include "common/dialogs.h"
#include "common/fonts.h"
#include "common/worksheet_page.h"
#include "tests/support/doubles.h"
#include "tests/support/forwarding_surface.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <functional>
#include <memory>

// The font names the windows are designed with.
inline const QStringList kDesignedFonts{u"ＭＳ ゴシック"_qs, u"ＭＳゴシック"_qs, u"ＭＳ 明朝"_qs,
                                        u"ＭＳ Ｐゴシック"_qs, u"System"_qs};

// Sets up the font condition of this child process; the caller returns when
// QTest::currentTestFailed().
inline void applyFontCase(const QString& condition)
{
    common::installJapaneseFonts();
    if (condition == u"names unknown") {
        for (const QString& name : kDesignedFonts) QFont::removeSubstitutions(name);
    } else if (condition == u"substitutes missing") {
        for (const QString& name : kDesignedFonts) {
            QFont::removeSubstitutions(name);
            QFont::insertSubstitution(name, u"No Such Family 42"_qs);
        }
    } else if (condition == u"no Japanese fonts") {
        QVERIFY2(QFontDatabase::families(QFontDatabase::Japanese).isEmpty(),
                 "the fonts of this case should have no Japanese family");
    } else {
        QFAIL(qPrintable("unknown font case " + condition));
    }
    QVERIFY(!QFontDatabase::families().contains(u"No Such Family 42"_qs));
}

// A text control: its designed pixel size, and its text really drawn (the
// control looks different without it). The caller returns when
// QTest::currentTestFailed().
inline void checkTextDrawn(QWidget* w, const QString& text,
                           const std::function<void(const QString&)>& setText)
{
    const QFont font = w->font();
    if (font.pixelSize() > 0) QCOMPARE(QFontInfo(font).pixelSize(), font.pixelSize());
    const int height = QFontMetrics(font).height();
    QVERIFY2(height >= QFontInfo(font).pixelSize() && height <= 2 * QFontInfo(font).pixelSize(),
             qPrintable(text));
    QVERIFY(QFontMetrics(font).horizontalAdvance(text) > 0);
    const QImage with = w->grab().toImage();
    setText({});
    const QImage without = w->grab().toImage();
    setText(text);
    QVERIFY2(with != without, qPrintable("not drawn: " + text));
}

// The player's own switch for silence off while it lives: only a missing
// module keeps it quiet.
struct SilentAudioUnset {
    QByteArray value = qgetenv("APP_SILENT_AUDIO");
    SilentAudioUnset() { qunsetenv("APP_SILENT_AUDIO"); }
    ~SilentAudioUnset() { qputenv("APP_SILENT_AUDIO", value); }
};

inline void addNoPrinterRows()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("reason");
    QTest::newRow("job refused") << "recorded"
                                 << "no printer";
    QTest::newRow("PDF file cannot be written") << "pdf"
                                                << "sheet.pdf";
    QTest::newRow("no printer installed") << "default" << u"プリンタがありません"_qs;
}

// A page surface maker whose job cannot start; the recording is kept in recorded.
inline auto refusedJob(std::unique_ptr<test_support::RecordingSurface>& recorded)
{
    return [&recorded](QPrinter&) -> std::unique_ptr<common::PageSurface> {
        recorded = std::make_unique<test_support::RecordingSurface>(QSize(3400, 4800));
        recorded->failOnBegin();
        return std::make_unique<ForwardingSurface>(*recorded);
    };
}

// A printer set-up that sends the sheet to the PDF file pdf.
inline auto printToPdf(const QString& pdf)
{
    return [pdf](QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
    };
}

inline void addFontMissingRows()
{
    QTest::addColumn<QString>("condition");
    QTest::newRow("names unknown") << "names unknown";
    QTest::newRow("substitutes missing") << "substitutes missing";
    QTest::newRow("no Japanese fonts") << "no Japanese fonts";
}

// Runs this test program again as the font case condition; it must pass.
// Call it last in a test function.
inline void runFontCase(const QString& condition)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("APP_FONT_CASE", condition);
    QTemporaryDir dir;
    if (condition == u"no Japanese fonts") {
        // Fontconfig limited to one Latin family.
        const QString latin = "/usr/share/fonts/truetype/dejavu";
        if (!QFileInfo(latin).isDir())
            QSKIP("no DejaVu fonts to stand in for a machine without Japanese fonts");
        QFile conf(dir.filePath("fonts.conf"));
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write(QString("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM "
                           "\"urn:fontconfig:fonts.dtd\">\n"
                           "<fontconfig><dir>%1</dir><cachedir>%2</cachedir></fontconfig>\n")
                       .arg(latin, dir.filePath("cache"))
                       .toUtf8());
        conf.close();
        env.insert("FONTCONFIG_FILE", conf.fileName());
    }
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForFinished(120000));
    const QByteArray log = child.readAll();
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, log.constData());
}

// The test's main: the font case when APP_FONT_CASE names one, else the test.
template <typename Test, typename FontCase> int missingMain(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true); // as the other window tests
    if (qEnvironmentVariableIsSet("APP_FONT_CASE")) {
        FontCase fontCase;
        return QTest::qExec(&fontCase, argc, argv);
    }
    Test test;
    return QTest::qExec(&test, argc, argv);
}
