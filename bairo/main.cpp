// Bairo: least common multiples and greatest common divisors, one window.
#include "bairo/ui/bairo1.h"
#include "common/dialogs.h"
#include "common/feedback.h"
#include "common/fonts.h"
#include "common/random_source.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bairo"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("ＢＡＩＲＯ練習"));
    // Lets the desktop match the window to its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.bairo"));
    common::installJapaneseFonts();

    common::QtDialogs dialogs;
    common::QtSoundPlayer sound;
    common::ClockRandomSource random;
    bairo::TForm1 form(dialogs, sound, random);
    form.show();
    // Start-up benchmarks time the program up to its first shown window.
    if (qEnvironmentVariableIsSet("APP_QUIT_AFTER_SHOW"))
        QTimer::singleShot(0, &app, &QApplication::quit);
    return app.exec();
}
