// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/worksheet_page.h"

#include <QCommandLineOption>
#include <QFileDevice>
#include <QString>

#include <memory>
#include <optional>

class QCommandLineParser;
class QGuiApplication;

namespace common::cli {

// Exit statuses of the command line.
inline constexpr int kDone = 0;
inline constexpr int kNotWritten = 1; // the output could not be written
inline constexpr int kBadInput = 2;   // an unknown option or a value out of range

// True when the program was started with arguments: it then works from the
// command line and makes no window. Started without, it is the drill.
bool wanted(int argc, char** argv);

// Makes the application for a command: offscreen, since no window is made
// and no display is needed, and with Qt's own chatter (session folders and
// the like) kept off standard error, which carries only the command's own
// messages. The program's name as given.
std::unique_ptr<QGuiApplication> startCommand(int& argc, char** argv, const QString& name,
                                              const QString& ownVersion = {});

// A message in Japanese where the locale is Japanese, in English elsewhere.
QString say(const char* japanese, const char* english);

// One line on standard error, after the program's name.
void complain(const QString& message);
// Text on standard output.
void print(const QString& text);

// The options every worksheet command takes.
struct SheetOptions {
    SheetOptions();
    QCommandLineOption count;
    QCommandLineOption sets;
    QCommandLineOption output;
};

struct SheetRequest {
    int count = 0; // problems on each set
    int sets = 1;
    QString output;
};

// Reads --count (1..100, else defaultCount), --sets (1..100, else 1) and
// --output (else defaultOutput). A value out of range is reported on
// standard error, naming what is allowed, and gives nothing.
std::optional<SheetRequest> readSheetOptions(const QCommandLineParser& parser,
                                             const SheetOptions& options, int defaultCount,
                                             const QString& defaultOutput);

// Parses the arguments; --help and --version are answered here. Returns the
// exit status when the program should stop now (done or bad input).
std::optional<int> parseArguments(QCommandLineParser& parser, const QStringList& arguments);

// Writes the sets to the PDF file; the exit status, with the reason on
// standard error when it could not be written.
int writeSheets(const QString& output, const QList<Worksheet>& sheets);
// The same for any pages (writePdf), the file getting `permissions`.
int writePages(const QString& output, const PageDrawer& draw, QFileDevice::Permissions permissions);

} // namespace common::cli
