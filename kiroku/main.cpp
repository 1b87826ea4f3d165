// SPDX-License-Identifier: GPL-3.0-or-later
// Kiroku: the adults' window on the drills' records. It is started from the
// menu by a parent or teacher; no drill window leads to it.
#include "common/app_start.h"
#include "common/command_line.h"
#include "common/dialogs.h"
#include "common/fonts.h"
#include "common/startup_probe.h"
#include "common/worksheet_page.h"
#include "kiroku/report_page.h"
#include "kiroku/ui/records_window.h"
#include "records/drill/records_place.h"
#include "records/reads/answers_csv.h"
#include "records/store/records_store.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>

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

// The children's reports, a page each, into one PDF file readable by its
// owner alone: what they hold is as personal as the records.
int writeReports(records::RecordsStore& store, const QStringList& nicknames, const QString& file)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QList<kiroku::ChildReport> reports;
    for (const QString& nickname : nicknames) {
        const auto child = childNamed(store, nickname);
        if (!child) return cli::kBadInput;
        reports << kiroku::readReport(store.connection(), *child, nickname, now);
    }
    common::installJapaneseFonts();
    return cli::writePages(
        file, [&](common::PageSurface& surface) { return kiroku::printReports(surface, reports); },
        QFile::ReadOwner | QFile::WriteOwner);
}

// The file a child's nickname names in the current folder: a slash in the
// name must not make it a path elsewhere.
QString fileNamed(QString nickname, const char* suffix)
{
    return nickname.replace(u'/', u'_').replace(u'\\', u'_') + QLatin1String(suffix);
}

// Without a window: --export writes a child's answers as CSV, --report the
// children's reports as PDF; --help and --version are answered too.
int answerCommandLine(int argc, char* argv[])
{
    const auto app = cli::startCommand(argc, argv, QStringLiteral("Kiroku"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        cli::say("ヌミラとバイロの学習の記録を見て、記録をつけるかどうかと子どもの名前を決めます。"
                 "--export で子どもの答えを CSV に、--report で子どもの記録を PDF に書き出します。",
                 "Shows the records of Numira and Bairo, turns them on or off and keeps the "
                 "children's nicknames. With --export it writes a child's answers as CSV, with "
                 "--report a child's report as PDF."));
    const QCommandLineOption exportAnswers(
        QStringLiteral("export"),
        cli::say("この子どもの答えを CSV に書き出す", "write this child's answers as CSV"),
        QStringLiteral("NAME"));
    const QCommandLineOption report(
        QStringLiteral("report"),
        cli::say("この子どもの記録を A4 の PDF に書き出す（何人でも、一人一ページ）",
                 "write this child's report as an A4 PDF (repeat for more children, a page "
                 "each)"),
        QStringLiteral("NAME"));
    const QCommandLineOption output(
        QStringLiteral("output"),
        cli::say("書き出すファイル（なければ NAME.csv、--report では NAME.pdf）",
                 "the file written (else NAME.csv, or NAME.pdf with --report)"),
        QStringLiteral("FILE"));
    parser.addOptions({exportAnswers, report, output});
    if (const auto status = cli::parseArguments(parser, app->arguments())) return *status;
    if (parser.isSet(exportAnswers) && parser.isSet(report)) {
        cli::complain(cli::say("--export と --report は一緒に使えません",
                               "give either --export or --report, not both"));
        return cli::kBadInput;
    }
    if (!parser.isSet(exportAnswers) && !parser.isSet(report)) {
        cli::complain(cli::say("--export か --report で子どもを選んでください",
                               "nothing to do: give --export NAME or --report NAME"));
        return cli::kBadInput;
    }
    // The records the window shows: a school's server where one is set (a
    // teacher's), else the family's file.
    records::RecordsStore store;
    const QString service = records::recordsServer();
    if (!service.isEmpty() ? store.openServer(service) == records::Opening::kFailed
                           : !store.openExisting(records::recordsFile()) || !store.isOpen()) {
        cli::complain(cli::say("記録がありません（%1）", "there are no records (%1)")
                          .arg(service.isEmpty() ? records::recordsFile() : service));
        return cli::kBadInput;
    }
    if (parser.isSet(report)) {
        const QStringList nicknames = parser.values(report);
        return writeReports(store, nicknames,
                            parser.isSet(output) ? parser.value(output)
                                                 : fileNamed(nicknames.first(), ".pdf"));
    }
    const QString nickname = parser.value(exportAnswers);
    const auto child = childNamed(store, nickname);
    if (!child) return cli::kBadInput;
    const QString file = parser.isSet(output) ? parser.value(output) : fileNamed(nickname, ".csv");
    QString error;
    if (records::writeAnswersCsv(store.connection(), *child, file, &error)) return cli::kDone;
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
