// SPDX-License-Identifier: GPL-3.0-or-later
// Kiroku: the adults' window on the drills' records. It is started from the
// menu by a parent or teacher; no drill window leads to it.
#include "common/app_start.h"
#include "common/command_line.h"
#include "common/dialogs.h"
#include "common/fonts.h"
#include "common/records/records_place.h"
#include "common/startup_probe.h"
#include "kiroku/ui/records_window.h"

#include <QApplication>
#include <QCommandLineParser>

namespace {

// With arguments only --help and --version are understood, answered without
// a window.
int answerCommandLine(int argc, char* argv[])
{
    namespace cli = common::cli;
    const auto app = cli::startCommand(argc, argv, QStringLiteral("Kiroku"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        cli::say("ヌミラとバイロの学習の記録を見て、記録をつけるかどうかと子どもの名前を決めます。",
                 "Shows the records of Numira and Bairo, turns them on or off and keeps the "
                 "children's nicknames."));
    return cli::parseArguments(parser, app->arguments()).value_or(cli::kDone);
}

} // namespace

int main(int argc, char* argv[])
{
    if (common::cli::wanted(argc, argv)) return answerCommandLine(argc, argv);
    common::FontConfigWarmUp fontConfig;
    QApplication app(argc, argv);
    fontConfig.wait();
    common::startApplication(app, {QStringLiteral("Kiroku"), QStringLiteral("学習の記録"),
                                   QStringLiteral(APP_DESKTOP_ID_KIROKU),
                                   QStringLiteral("ＭＳ Ｐゴシック"), 15,
                                   QStringLiteral(":/glyphs/kiroku.png")});

    common::QtDialogs dialogs;
    kiroku::RecordsWindow window(dialogs, common::records::recordsFile());
    // Start-up checks time the program up to its first painted window.
    common::StartupProbe::watch(window);
    window.show();
    return app.exec();
}
