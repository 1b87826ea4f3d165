// SPDX-License-Identifier: GPL-3.0-or-later
// Bairo: least common multiples and greatest common divisors, one window.
#include "bairo/command_line.h"
#include "bairo/ui/hint_style.h"
#include "bairo/ui/main_window.h"
#include "common/app_start.h"
#include "common/command_line.h"
#include "common/dialogs.h"
#include "common/fonts.h"
#include "common/qt_sound_player.h"
#include "common/random_source.h"
#include "common/startup_probe.h"
#include "records/drill/records_session.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // With arguments it is a command that writes worksheets; without, the drill.
    if (common::cli::wanted(argc, argv)) return bairo::runCommandLine(argc, argv);
    // The font configuration is read beside the making of the application.
    common::FontConfigWarmUp fontConfig;
    QApplication app(argc, argv);
    fontConfig.wait();
    common::startApplication(app, {QStringLiteral("Bairo"), QStringLiteral("ＢＡＩＲＯ練習"),
                                   QStringLiteral(APP_DESKTOP_ID_BAIRO),
                                   QStringLiteral("ＭＳ Ｐゴシック"), 15,
                                   QStringLiteral(":/glyphs/bairo.png")});
    bairo::installHintStyle();

    common::QtDialogs dialogs;
    common::QtSoundPlayer sound;
    common::ClockRandomSource random;
    // Off unless an adult turned records on: then nothing here reads or writes a file.
    common::RecordsSession records(dialogs, common::RecordsSession::fileInUse(),
                                   common::RecordsSession::serverInUse());
    bairo::MainWindow window(
        {dialogs, sound, random, {}, common::printerPages(), records.service()});
    records.startAfterFirstPaint(window);
    // Start-up benchmarks time the program up to its first painted window; installed
    // last, its filter sees the paint first.
    common::StartupProbe::watch(window);
    window.show();
    sound.prepareSoon();
    return app.exec();
}
