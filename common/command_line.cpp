// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/command_line.h"

#include "common/app_start.h"
#include "common/drill_rules.h"
#include "common/sheet_file.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>

#include <cstdio>

namespace common::cli {

namespace {
// A whole number in 1..kMaxProblems, or nothing.
std::optional<int> readBounded(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 1 || value > kMaxProblems) return std::nullopt;
    return value;
}
} // namespace

bool wanted(int argc, char** /*argv*/) { return argc > 1; }

std::unique_ptr<QGuiApplication> startCommand(int& argc, char** argv, const QString& name,
                                              const QString& ownVersion)
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    });
    qputenv("QT_QPA_PLATFORM", "offscreen");
    auto app = std::make_unique<QGuiApplication>(argc, argv);
    nameApplication(name, ownVersion);
    if (QLocale::system().language() == QLocale::Japanese) installQtTranslation(*app);
    return app;
}

QString say(const char* japanese, const char* english)
{
    static const bool inJapanese = QLocale::system().language() == QLocale::Japanese;
    return QString::fromUtf8(inJapanese ? japanese : english);
}

void complain(const QString& message)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                 message.toLocal8Bit().constData());
}

void print(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

SheetOptions::SheetOptions()
    : count(QStringLiteral("count"),
            say("1まいの もんだいの かず（1〜100）", "problems on each set (1 to 100)"),
            QStringLiteral("N")),
      sets(QStringLiteral("sets"),
           say("セットの かず（1〜100）。セットごとに もんだいと こたえの ページ",
               "number of sets (1 to 100), each problem pages then answer pages"),
           QStringLiteral("S"), QStringLiteral("1")),
      output(QStringLiteral("output"), say("かきだす PDF ファイル", "PDF file to write"),
             QStringLiteral("FILE.pdf"))
{
}

std::optional<SheetRequest> readSheetOptions(const QCommandLineParser& parser,
                                             const SheetOptions& options, int defaultCount,
                                             const QString& defaultOutput)
{
    SheetRequest request;
    request.count = defaultCount;
    if (parser.isSet(options.count)) {
        const auto count = readBounded(parser.value(options.count));
        if (!count) {
            complain(say("--count は 1 から 100 までの 整数です（%1）",
                         "--count must be a whole number from 1 to 100 (got '%1')")
                         .arg(parser.value(options.count)));
            return std::nullopt;
        }
        request.count = *count;
    }
    const auto sets = readBounded(parser.value(options.sets));
    if (!sets) {
        complain(say("--sets は 1 から 100 までの 整数です（%1）",
                     "--sets must be a whole number from 1 to 100 (got '%1')")
                     .arg(parser.value(options.sets)));
        return std::nullopt;
    }
    request.sets = *sets;
    request.output = parser.isSet(options.output) ? parser.value(options.output) : defaultOutput;
    if (request.output.isEmpty()) {
        complain(say("--output に ファイルの なまえが ありません", "--output needs a file name"));
        return std::nullopt;
    }
    return request;
}

std::optional<int> parseArguments(QCommandLineParser& parser, const QStringList& arguments)
{
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    if (!parser.parse(arguments)) {
        complain(parser.errorText() + u' ' +
                 say("（--help で つかいかたを みられます）", "(--help lists the options)"));
        return kBadInput;
    }
    if (!parser.positionalArguments().isEmpty()) {
        complain(say("わからない ひきすう: %1", "unexpected argument: %1")
                     .arg(parser.positionalArguments().join(u' ')));
        return kBadInput;
    }
    if (parser.isSet(help)) {
        print(parser.helpText());
        return kDone;
    }
    if (parser.isSet(version)) {
        print(QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion() +
              u'\n');
        return kDone;
    }
    return std::nullopt;
}

namespace {
// The exit status of a PDF written or not, with the reason on standard error.
int writtenStatus(const QString& output, bool written, const QString& error)
{
    if (written) return kDone;
    complain(say("%1 を かきだせません: %2", "cannot write %1: %2").arg(output, error));
    return kNotWritten;
}
} // namespace

int writeSheets(const QString& output, const QList<Worksheet>& sheets)
{
    QString error;
    const bool written = writeWorksheetPdf(output, sheets, &error);
    return writtenStatus(output, written, error);
}

int writePages(const QString& output, const PageDrawer& draw, QFileDevice::Permissions permissions)
{
    QString error;
    const bool written = writePdf(output, draw, permissions, &error);
    return writtenStatus(output, written, error);
}

} // namespace common::cli
