// Renders the drill window offscreen into screenshots/ so its layout can be
// looked at: bairo.png as it starts, bairo_drill.png with a problem answered
// wrongly.
#include "bairo/ui/bairo1.h"
#include "common/dialogs.h"
#include "common/feedback.h"
#include "common/fonts.h"
#include "common/random_source.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class ScreenshotBairo1 : public QObject {
    Q_OBJECT
private slots:
    void render()
    {
        common::installJapaneseFonts();
        common::ScriptedDialogs dialogs;
        common::RecordingSoundPlayer sound;
        common::SeededRandomSource random(3);
        bairo::TForm1 form(dialogs, sound, random, common::AssetLocator({ASSET_DIR}));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(QDir().mkpath(SCREENSHOT_DIR));

        const QPixmap start = form.grab();
        QCOMPARE(start.deviceIndependentSize().toSize(), QSize(598, 500));
        QVERIFY(start.save(SCREENSHOT_DIR "/bairo.png"));

        QTest::mouseClick(form.findChild<QPushButton*>("Button1"), Qt::LeftButton);
        auto* edit = form.findChild<QLineEdit*>("Edit4");
        QTest::keyClicks(edit, "9973");
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(form.grab().save(SCREENSHOT_DIR "/bairo_drill.png"));
        QCOMPARE(dialogs.shown.size(), 0);
    }
};

QTEST_MAIN(ScreenshotBairo1)
#include "screenshot_bairo1.moc"
