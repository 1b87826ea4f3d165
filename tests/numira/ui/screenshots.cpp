// SPDX-License-Identifier: GPL-3.0-or-later
// Renders both windows offscreen to PNG files, so the layout can be looked
// at without a display.
#include "window_fixture.h"

#include <QDir>

class Screenshots : public QObject {
    Q_OBJECT
private slots:
    void render()
    {
        const QString dir = qEnvironmentVariable("APP_SCREENSHOT_DIR", QDir::tempPath());
        QDir().mkpath(dir);
        WindowFixture f;
        f.choose(0, 4);
        f.type("57");
        QVERIFY(f.form.grab().save(dir + "/numira.png"));
        f.choice.show();
        QVERIFY(f.choice.grab().save(dir + "/numira-choice.png"));
        f.choiceControls().pages()->setCurrentIndex(3);
        QVERIFY(f.choice.grab().save(dir + "/numira-choice-division.png"));
    }
};

QTEST_MAIN(Screenshots)
#include "screenshots.moc"
