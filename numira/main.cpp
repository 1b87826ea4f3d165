// SPDX-License-Identifier: GPL-3.0-or-later
// Numira: the arithmetic drill.
#include "common/app_start.h"
#include "common/command_line.h"
#include "common/dialogs.h"
#include "common/fonts.h"
#include "common/qt_sound_player.h"
#include "common/random_source.h"
#include "common/startup_probe.h"
#include "numira/command_line.h"
#include "numira/ui/main_window.h"
#include "records/drill/records_session.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // With arguments it is a command that writes worksheets; without, the drill.
    if (common::cli::wanted(argc, argv)) return numira::runCommandLine(argc, argv);
    // The font configuration is read beside the making of the application.
    common::FontConfigWarmUp fontConfig;
    QApplication app(argc, argv);
    fontConfig.wait();
    common::startApplication(app, {QStringLiteral("Numira"), QStringLiteral("ヌミラ"),
                                   QStringLiteral(APP_DESKTOP_ID_NUMIRA), QStringLiteral("System"),
                                   13, QStringLiteral(":/glyphs/numira.png")});

    common::QtDialogs dialogs;
    common::QtSoundPlayer sound;
    common::ClockRandomSource random;
    // Off unless an adult turned records on: then nothing here reads or writes a file.
    common::RecordsSession records(dialogs, common::RecordsSession::fileInUse(),
                                   common::RecordsSession::serverInUse());

    numira::MainWindow mainWindow(
        {dialogs, sound, random, {}, common::printerPages(), records.service()});
    records.startAfterFirstPaint(mainWindow);
    // Start-up benchmarks time the program up to its first painted window; installed
    // last, its filter sees the paint first.
    common::StartupProbe::watch(mainWindow);
    mainWindow.show();
    sound.prepareSoon();
    return app.exec();
}
