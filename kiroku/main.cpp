// SPDX-License-Identifier: GPL-3.0-or-later
// Kiroku: the adults' window on the drills' records. It is started from the
// menu by a parent or teacher; no drill window leads to it.
#include "common/app_start.h"
#include "common/command_line.h"
#include "common/dialogs.h"
#include "common/fonts.h"
#include "common/records/answers_csv.h"
#include "common/records/records_place.h"
#include "common/records/records_store.h"
#include "common/startup_probe.h"
#include "kiroku/ui/records_window.h"

#include <QApplication>
#include <QCommandLineParser>

namespace {

namespace cli = common::cli;
namespace records = common::records;

// The child so named in the open records, or a line on standard error.
std::optional<qint64> childNamed(records::RecordsStore& store, const QString& nickname)
{
    for (const records::Child& child : store.children())
        if (child.nickname == nickname) return child.id;
    cli::complain(
        cli::say("記録にいない子どもです: %1", "no child named '%1' in the records").arg(nickname));
    return std::nullopt;
}

// Without a window: --export writes a child's answers as CSV; --help and
// --version are answered too.
int answerCommandLine(int argc, char* argv[])
{
    const auto app = cli::startCommand(argc, argv, QStringLiteral("Kiroku"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        cli::say("ヌミラとバイロの学習の記録を見て、記録をつけるかどうかと子どもの名前を決めます。"
                 "--export で子どもの答えを CSV に書き出します。",
                 "Shows the records of Numira and Bairo, turns them on or off and keeps the "
                 "children's nicknames. With --export it writes a child's answers as CSV."));
    const QCommandLineOption exportAnswers(
        QStringLiteral("export"),
        cli::say("この子どもの答えを CSV に書き出す", "write this child's answers as CSV"),
        QStringLiteral("NAME"));
    const QCommandLineOption output(
        QStringLiteral("output"),
        cli::say("書き出すファイル（なければ NAME.csv）", "the file written (else NAME.csv)"),
        QStringLiteral("FILE"));
    parser.addOptions({exportAnswers, output});
    if (const auto status = cli::parseArguments(parser, app->arguments())) return *status;
    if (!parser.isSet(exportAnswers)) {
        cli::complain(
            cli::say("--export で子どもを選んでください", "nothing to do: give --export NAME"));
        return cli::kBadInput;
    }
    const QString nickname = parser.value(exportAnswers);
    records::RecordsStore store;
    if (!store.openExisting(records::recordsFile()) || !store.isOpen()) {
        cli::complain(cli::say("記録がありません（%1）", "there are no records (%1)")
                          .arg(records::recordsFile()));
        return cli::kBadInput;
    }
    const auto child = childNamed(store, nickname);
    if (!child) return cli::kBadInput;
    const QString file = parser.isSet(output) ? parser.value(output) : nickname + ".csv";
    QString error;
    if (records::writeAnswersCsv(store, *child, file, &error)) return cli::kDone;
    cli::complain(cli::say("%1 に書けません: %2", "cannot write %1: %2").arg(file, error));
    return cli::kNotWritten;
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
