// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the drill window offscreen into screenshots/ so its layout can be
// looked at: bairo.png as it starts, bairo_drill.png with a problem answered
// wrongly.
#include "bairo/ui/main_window.h"
#include "common/dialogs.h"
#include "common/feedback.h"
#include "common/fonts.h"
#include "common/random_source.h"
#include "tests/support/doubles.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class ScreenshotMainWindow : public QObject {
    Q_OBJECT
private slots:
    void render()
    {
        common::installJapaneseFonts();
        test_support::ScriptedDialogs dialogs;
        test_support::RecordingSoundPlayer sound;
        test_support::SeededRandomSource random(3);
        bairo::MainWindow window({dialogs, sound, random, common::AssetLocator({ASSET_DIR})});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(QDir().mkpath(SCREENSHOT_DIR));

        const QPixmap start = window.grab();
        QCOMPARE(start.deviceIndependentSize().toSize(), QSize(598, 500));
        QVERIFY(start.save(SCREENSHOT_DIR "/bairo.png"));

        QTest::mouseClick(window.findChild<QPushButton*>("startButton"), Qt::LeftButton);
        auto* edit = window.findChild<QLineEdit*>("answerEdit");
        QTest::keyClicks(edit, "9973");
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(window.grab().save(SCREENSHOT_DIR "/bairo_drill.png"));
        QCOMPARE(dialogs.shown.size(), 0);
    }
};

QTEST_MAIN(ScreenshotMainWindow)
#include "screenshot_main_window.moc"
