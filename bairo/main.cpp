// Bairo: least common multiples and greatest common divisors, one window.
#include "bairo/ui/bairo1.h"
#include "common/dialogs.h"
#include "common/feedback.h"
#include "common/fonts.h"
#include "common/random_source.h"
#include "common/startup_probe.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // The font configuration is read beside the making of the application.
    common::FontConfigWarmUp fontConfig;
    QApplication app(argc, argv);
    fontConfig.wait();
    QApplication::setApplicationName(QStringLiteral("Bairo"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("ＢＡＩＲＯ練習"));
    // Lets the desktop match the window to its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.bairo"));
    common::installJapaneseFonts();
    // Message and input boxes speak Japanese too; the main window's face and
    // size, so that no other font is loaded at start.
    QApplication::setFont(common::designedFont(QStringLiteral("ＭＳ Ｐゴシック"), 15));

    common::QtDialogs dialogs;
    common::QtSoundPlayer sound;
    common::ClockRandomSource random;
    bairo::TForm1 form(dialogs, sound, random);
    // Start-up benchmarks time the program up to its first painted window.
    common::StartupProbe::watch(form);
    form.show();
    return app.exec();
}
