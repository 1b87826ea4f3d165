// SPDX-License-Identifier: GPL-3.0-or-later
#include "bairo/command_line.h"

#include "bairo/core/sheet.h"
#include "bairo/version.h"
#include "common/command_line.h"
#include "common/drill_rules.h"
#include "common/random_source.h"

#include <QCommandLineParser>
#include <QGuiApplication>

namespace bairo {

namespace cli = common::cli;

int runCommandLine(int argc, char* argv[])
{
    const auto app =
        cli::startCommand(argc, argv, QStringLiteral("Bairo"), QLatin1String(kVersion));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        cli::say("さいしょうこうばいすうと さいだいこうやくすうの ドリル。--sheet で "
                 "プリントを PDF に かきだします。",
                 "Least common multiple and greatest common divisor drill. With --sheet it "
                 "writes worksheets to a PDF file instead of opening its window."));
    const QCommandLineOption sheet(
        QStringLiteral("sheet"),
        cli::say("プリントの しゅるい: lcm（最小公倍数）または gcd（最大公約数）",
                 "kind of worksheet: lcm (least common multiple) or gcd (greatest common "
                 "divisor)"),
        QStringLiteral("lcm|gcd"));
    const QCommandLineOption level(
        QStringLiteral("level"),
        cli::say("もんだいの ていど: easy（やさしい）または hard（むずかしい）",
                 "level: easy or hard (larger numbers)"),
        QStringLiteral("easy|hard"), QStringLiteral("easy"));
    const cli::SheetOptions sheetOptions;
    parser.addOptions({sheet, level, sheetOptions.count, sheetOptions.sets, sheetOptions.output});
    if (const auto status = cli::parseArguments(parser, app->arguments())) return *status;

    if (!parser.isSet(sheet)) {
        cli::complain(cli::say("--sheet lcm か --sheet gcd を つけてください",
                               "nothing to do: give --sheet lcm or --sheet gcd"));
        return cli::kBadInput;
    }
    const QString kindName = parser.value(sheet);
    if (kindName != u"lcm" && kindName != u"gcd") {
        cli::complain(
            cli::say("--sheet は lcm か gcd です（%1）", "--sheet must be lcm or gcd (got '%1')")
                .arg(kindName));
        return cli::kBadInput;
    }
    const QString levelName = parser.value(level);
    if (levelName != u"easy" && levelName != u"hard") {
        cli::complain(cli::say("--level は easy か hard です（%1）",
                               "--level must be easy or hard (got '%1')")
                          .arg(levelName));
        return cli::kBadInput;
    }
    const auto request = cli::readSheetOptions(parser, sheetOptions, common::kMaxProblems,
                                               QStringLiteral("bairo-%1.pdf").arg(kindName));
    if (!request) return cli::kBadInput;

    common::ClockRandomSource random;
    const Kind sheetKind = kindName == u"lcm" ? Kind::kLcm : Kind::kGcd;
    const Level sheetLevel = levelName == u"easy" ? Level::kEasy : Level::kHard;
    QList<common::Worksheet> sets;
    for (int s = 0; s < request->sets; ++s)
        sets << makeWorksheet(sheetKind, sheetLevel, request->count, random);
    return cli::writeSheets(request->output, sets);
}

} // namespace bairo
