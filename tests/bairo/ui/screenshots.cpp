// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the drill window offscreen to PNG files, so its layout can be
// looked at without a display: bairo.png as it starts, bairo_drill.png with
// a problem answered wrongly.
#include "window_fixture.h"

#include <QDir>

class Screenshots : public QObject {
    Q_OBJECT
private slots:
    void render()
    {
        const QString dir = qEnvironmentVariable("APP_SCREENSHOT_DIR", QDir::tempPath());
        QVERIFY(QDir().mkpath(dir));
        WindowFixture f(3);
        QVERIFY(QTest::qWaitForWindowExposed(&f.form));
        const QPixmap start = f.form.grab();
        QCOMPARE(start.deviceIndependentSize().toSize(), QSize(598, 500));
        QVERIFY(start.save(dir + "/bairo.png"));
        f.click("startButton");
        f.answerWrong();
        QVERIFY(f.form.grab().save(dir + "/bairo_drill.png"));
        QCOMPARE(f.dialogs.shown.size(), 0);
    }
};

QTEST_MAIN(Screenshots)
#include "screenshots.moc"
