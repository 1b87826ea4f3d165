// SPDX-License-Identifier: GPL-3.0-or-later
// Feedback files: where they are found (asset_locator.h), how pictures are
// read (pictures.h), reports once per missing file (feedback.h), and the
// sound module playing (silently here) without stopping the caller
// (qt_sound_player.h).
#include "common/asset_locator.h"
#include "common/dialogs.h"
#include "common/feedback.h"
#include "common/pictures.h"
#include "common/qt_sound_player.h"
#include "tests/support/doubles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

using namespace common;

class TestFeedback : public QObject {
    Q_OBJECT
private slots:
    void locatorOrder()
    {
        QTemporaryDir first, second;
        QFile(second.filePath("a.bmp")).open(QIODevice::WriteOnly);
        AssetLocator locator({first.path(), second.path()});
        QCOMPARE(locator.find("a.bmp"), QFileInfo(second.filePath("a.bmp")).absoluteFilePath());
        QFile(first.filePath("a.bmp")).open(QIODevice::WriteOnly);
        QCOMPARE(locator.find("a.bmp"), QFileInfo(first.filePath("a.bmp")).absoluteFilePath());
        QCOMPARE(locator.find("missing.bmp"), QString());
        // The default looks in the working directory of the time of the call.
        const AssetLocator byDefault;
        const QString started = QDir::currentPath();
        QVERIFY(QDir::setCurrent(second.path()));
        const QString found = byDefault.find("a.bmp");
        QVERIFY(QDir::setCurrent(started));
        QCOMPARE(found, QFileInfo(second.filePath("a.bmp")).absoluteFilePath());
    }

    void missingFilesReportedOncePerName()
    {
        QTemporaryDir empty;
        test_support::ScriptedDialogs dialogs;
        test_support::RecordingSoundPlayer sound;
        Feedback feedback(dialogs, sound, AssetLocator({empty.path()}));
        QLabel label;
        for (int k = 0; k < 3; ++k) {
            QVERIFY(!feedback.showPicture(&label, "maru1.bmp"));
            QVERIFY(!feedback.playSound("maru1.wav"));
        }
        QCOMPARE(dialogs.texts("warning").size(), 2);
        QVERIFY(dialogs.texts("warning")[0].contains("maru1.bmp"));
        QVERIFY(dialogs.texts("warning")[1].contains("maru1.wav"));
        QVERIFY(sound.played.isEmpty());
    }

    void brokenFilesAreMissingFiles()
    {
        QTemporaryDir dir;
        QFile bmp(dir.filePath("batu1.bmp"));
        QVERIFY(bmp.open(QIODevice::WriteOnly));
        bmp.write("not a picture");
        bmp.close();
        QFile wav(dir.filePath("batu1.wav"));
        QVERIFY(wav.open(QIODevice::WriteOnly));
        wav.write("RIFF....JUNK");
        wav.close();
        test_support::ScriptedDialogs dialogs;
        QtSoundPlayer sound;
        Feedback feedback(dialogs, sound, AssetLocator({dir.path()}));
        QLabel label;
        QVERIFY(!feedback.showPicture(&label, "batu1.bmp"));
        QVERIFY(!feedback.playSound("batu1.wav"));
        QCOMPARE(dialogs.count("warning"), 2);
    }

    // Pictures are read by their suffix first and by their content when the
    // suffix does not fit; anything else is no picture.
    void picturesReadBySuffixOrContent_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("format"); // what is written; empty for junk
        QTest::addColumn<bool>("read");
        QTest::newRow("bmp") << "a.bmp" << QByteArray("BMP") << true;
        QTest::newRow("png") << "a.png" << QByteArray("PNG") << true;
        QTest::newRow("png named bmp") << "b.bmp" << QByteArray("PNG") << true;
        QTest::newRow("bmp named png") << "b.png" << QByteArray("BMP") << true;
        QTest::newRow("no suffix") << "picture" << QByteArray("BMP") << true;
        QTest::newRow("junk") << "c.bmp" << QByteArray() << false;
        QTest::newRow("missing") << "" << QByteArray() << false;
    }

    void picturesReadBySuffixOrContent()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        QFETCH(bool, read);
        QTemporaryDir dir;
        const QString path = dir.filePath(name.isEmpty() ? u"none.bmp"_qs : name);
        if (!name.isEmpty()) {
            QImage image(7, 5, QImage::Format_RGB32);
            image.fill(Qt::red);
            if (format.isEmpty()) {
                QFile junk(path);
                QVERIFY(junk.open(QIODevice::WriteOnly));
                junk.write("BM not a picture at all");
            } else {
                QVERIFY(image.save(path, format.constData()));
            }
        }
        const QPixmap picture = loadPicture(path);
        QCOMPARE(!picture.isNull(), read);
        if (read) {
            QCOMPARE(picture.size(), QSize(7, 5));
            QCOMPARE(picture.toImage().pixelColor(3, 2), QColor(Qt::red));
        }
    }

    // Dense screens get the 2x drawing beside the picture, covering the same
    // points; other screens, or a picture without one, get the picture itself.
    void doubleSizePictures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("withDouble");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QSize>("pixels");
        QTest::newRow("1x") << "mascot.bmp" << true << 1.0 << QSize(7, 5);
        QTest::newRow("2x") << "mascot.bmp" << true << 2.0 << QSize(14, 10);
        QTest::newRow("1.5x") << "a.b/mascot.bmp" << true << 1.5 << QSize(14, 10);
        QTest::newRow("2x, none drawn") << "mascot.bmp" << false << 2.0 << QSize(7, 5);
        QTest::newRow("2x, no suffix") << "glyph" << true << 2.0 << QSize(14, 10);
    }
    void doubleSizePictures()
    {
        QFETCH(QString, name);
        QFETCH(bool, withDouble);
        QFETCH(qreal, ratio);
        QFETCH(QSize, pixels);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QImage small(7, 5, QImage::Format_RGB32), big(14, 10, QImage::Format_RGB32);
        small.fill(Qt::red);
        big.fill(Qt::blue);
        QVERIFY(small.save(path, "BMP"));
        if (withDouble) QVERIFY(big.save(doubleSizeName(path), "PNG"));
        QVERIFY(doubleSizeName(path).endsWith(u"@2x.png"));
        const QPixmap picture = loadPicture(path, ratio);
        QCOMPARE(picture.size(), pixels);
        QCOMPARE(picture.deviceIndependentSize().toSize(), QSize(7, 5));
        const QSize iconPixels = glyphIcon(path, ratio).pixmap(QSize(7, 5), 2.0).size();
        QCOMPARE(iconPixels, ratio > 1 && withDouble ? QSize(14, 10) : QSize(7, 5));
    }

    void cues_data()
    {
        QTest::addColumn<Feedback::Cue>("cue");
        QTest::addColumn<QStringList>("played");
        QTest::newRow("mascot") << Feedback::Cue::kMascot << QStringList{};
        QTest::newRow("right") << Feedback::Cue::kRight << QStringList{"maru1.wav"};
        QTest::newRow("wrong") << Feedback::Cue::kWrong << QStringList{"batu1.wav"};
    }
    void cues()
    {
        QFETCH(Feedback::Cue, cue);
        QFETCH(QStringList, played);
        test_support::ScriptedDialogs dialogs;
        test_support::RecordingSoundPlayer sound;
        Feedback feedback(dialogs, sound, AssetLocator({qEnvironmentVariable("APP_RUNTIME_DIR")}));
        QLabel picture;
        QVERIFY(feedback.give(&picture, cue));
        QCOMPARE(picture.pixmap().size(), QSize(81, 81));
        QCOMPARE(sound.played, played);
        QCOMPARE(dialogs.shown.size(), 0);
    }

    void moduleLoadsAndPlays()
    {
        // The real module, with whatever audio output this machine has (none
        // on CI): playing returns at once and never fails for a good file.
        const QString bin = qEnvironmentVariable("APP_RUNTIME_DIR");
        qunsetenv("APP_SILENT_AUDIO");
        QtSoundPlayer sound({bin});
        sound.prepare();
        QVERIFY(sound.moduleLoaded());
        QVERIFY(sound.play(bin + "/maru1.wav"));
        QVERIFY(sound.play(bin + "/batu1.wav"));
        QVERIFY(sound.play(bin + "/maru1.wav"));
        QVERIFY(!sound.play(bin + "/mascot.bmp"));
        // Without the module the player stays silent instead of failing.
        QTemporaryDir empty;
        QtSoundPlayer none({empty.path()});
        QVERIFY(none.play(bin + "/maru1.wav"));
        QVERIFY(!none.moduleLoaded());
        qputenv("APP_SILENT_AUDIO", "1");
    }
};

QTEST_MAIN(TestFeedback)
#include "test_feedback.moc"
