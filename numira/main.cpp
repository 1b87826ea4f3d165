// Numira: the arithmetic drill.
#include "common/dialogs.h"
#include "common/feedback.h"
#include "common/fonts.h"
#include "common/random_source.h"
#include "numira/ui/help_window.h"
#include "numira/ui/numira0.h"
#include "numira/ui/numira1.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Numira"));
    QApplication::setApplicationDisplayName(QStringLiteral("ヌミラ"));
    // Lets the desktop match the window to its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.numira"));
    numira::ApplicationHelpFile() = QStringLiteral("ヌミラ.chm");
    common::installJapaneseFonts();

    common::QtDialogs dialogs;
    common::QtSoundPlayer sound;
    common::ClockRandomSource random;
    numira::SharedState state;

    numira::TForm1 mainWindow(state, {dialogs, sound, random});
    // The choice window is created after the main window and stays hidden
    // until asked for.
    numira::TForm3 choiceWindow(state, &mainWindow);
    mainWindow.setChoiceWindow(&choiceWindow);
    mainWindow.show();
    // Start-up benchmarks time the program up to its first shown window.
    if (qEnvironmentVariableIsSet("APP_QUIT_AFTER_SHOW"))
        QTimer::singleShot(0, &app, &QApplication::quit);
    return app.exec();
}
