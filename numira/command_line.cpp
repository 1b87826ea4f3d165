// SPDX-License-Identifier: GPL-3.0-or-later
#include "numira/command_line.h"

#include "common/command_line.h"
#include "common/random_source.h"
#include "numira/core/catalogue.h"
#include "numira/core/drill.h"
#include "numira/core/generators.h"
#include "records/drill/records_place.h"
#include "records/reads/day_set.h"
#include "records/reads/review.h"
#include "records/store/records_store.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QRandomGenerator>

#include <optional>

namespace numira {

namespace cli = common::cli;

namespace {

// Each category by its page caption and by an English word.
constexpr const char* kEnglishCategories[] = {"addition", "subtraction", "multiplication",
                                              "division", "table"};

std::optional<int> categoryNamed(const QString& name)
{
    const QStringList pages = cataloguePages();
    for (int c = 0; c < int(pages.size()); ++c)
        if (name == pages[c] ||
            name.compare(QLatin1String(kEnglishCategories[c]), Qt::CaseInsensitive) == 0)
            return c;
    return std::nullopt;
}

QString kindsList()
{
    const QStringList pages = cataloguePages();
    QString out;
    for (const ProblemKind& kind : problemKinds()) {
        if (kind.category == kMultiplicationTable) continue;
        out += QStringLiteral("%1:%2\t%3:%2\t%4\n")
                   .arg(pages[kind.category])
                   .arg(kind.number + 1)
                   .arg(QLatin1String(kEnglishCategories[kind.category]), kind.title());
    }
    out += QStringLiteral("%1:1,2,…,9\t%2:1,2,…,9\t%1 (--with-zero)\n")
               .arg(pages[kMultiplicationTable], QLatin1String("table"));
    return out;
}

// The choice a KIND names, or a line on standard error and nothing.
std::optional<Choice> readKind(const QString& text, bool withZero)
{
    const qsizetype colon = text.indexOf(u':');
    const auto category = categoryNamed(text.left(colon));
    const auto unknown = [&] {
        cli::complain(cli::say("わからない しゅるいです: %1（--list-kinds で いちらん）",
                               "unknown kind '%1' (--list-kinds lists them)")
                          .arg(text));
        return std::nullopt;
    };
    if (colon < 0 || !category) return unknown();
    Choice choice;
    choice.category = *category;
    const QString rest = text.mid(colon + 1);
    if (*category == kMultiplicationTable) {
        choice.tableRows.lowestMultiplier = withZero ? 0 : 1;
        for (const QString& row : rest.split(u',', Qt::SkipEmptyParts)) {
            bool ok = false;
            const int r = row.trimmed().toInt(&ok);
            if (!ok || r < 1 || r > 9) {
                cli::complain(cli::say("九九の だんは 1 から 9 です（%1）",
                                       "table rows are 1 to 9 (got '%1')")
                                  .arg(row));
                return std::nullopt;
            }
            choice.tableRows.rows[r - 1] = true;
        }
        if (!choice.makesASet()) {
            cli::complain(cli::say("九九の だんを えらんでください（れい: 九九:2,3,7）",
                                   "no table rows given (e.g. table:2,3,7)"));
            return std::nullopt;
        }
        return choice;
    }
    bool ok = false;
    const int number = rest.toInt(&ok) - 1;
    if (!ok || !findProblemKind(choice.category, number)) return unknown();
    choice.number = number;
    return choice;
}

// "review" or "にがて": the sheet of what a child missed, from the records.
bool isReview(const QString& kind)
{
    return kind.compare(QLatin1String("review"), Qt::CaseInsensitive) == 0 ||
           kind == QStringLiteral("にがて");
}

// "today" or "きょう": the sheet of a child's day's practice, from the records.
bool isToday(const QString& kind)
{
    return kind.compare(QLatin1String("today"), Qt::CaseInsensitive) == 0 ||
           kind == QStringLiteral("きょう");
}

// The review set (or the day's set) of the child so named, or a line on
// standard error and nothing.
std::optional<common::DaySet> childSetOf(const QString& nickname, bool today)
{
    namespace records = common::records;
    records::RecordsStore store;
    const auto opening = store.openExisting(records::recordsFile());
    if (!opening || !store.isOpen()) {
        cli::complain(cli::say("きろくが ありません（%1）", "there are no records (%1)")
                          .arg(records::recordsFile()));
        return std::nullopt;
    }
    for (const records::Child& child : store.children()) {
        if (child.nickname != nickname) continue;
        if (today) {
            const auto day =
                records::readDaySet(store.connection(), child.id, QDate::currentDate());
            if (day && daySetSize(*day) > 0) return day;
            cli::complain(cli::say("%1 さんの きょうの れんしゅうは いま ありません",
                                   "there is no day's practice for %1")
                              .arg(nickname));
            return std::nullopt;
        }
        const QList<common::ReviewProblem> review =
            records::readReviewSet(store.connection(), child.id, QDate::currentDate(),
                                   QRandomGenerator::global()->generate());
        if (!review.isEmpty()) return common::DaySet{{}, review};
        cli::complain(
            cli::say("%1 さんの にがては いま ありません", "nothing is due for %1").arg(nickname));
        return std::nullopt;
    }
    cli::complain(cli::say("きろくに いない こどもです: %1", "no child named '%1' in the records")
                      .arg(nickname));
    return std::nullopt;
}

} // namespace

int runCommandLine(int argc, char* argv[])
{
    const auto app = cli::startCommand(argc, argv, QStringLiteral("Numira"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        cli::say("さんすうの ドリル。--sheet で プリントを PDF に かきだします。",
                 "Arithmetic drill. With --sheet it writes worksheets to a PDF file instead of "
                 "opening its window."));
    const QCommandLineOption sheet(
        QStringLiteral("sheet"),
        cli::say("プリントの しゅるい: たしざん:4 や addition:4、九九:2,3,7 や table:2,3,7、"
                 "にがて（review）や きょう（today）は --child と",
                 "kind of worksheet: a category and number such as addition:4 (or "
                 "たしざん:4), table rows such as table:2,3,7 (or 九九:2,3,7), review "
                 "(にがて) or the day's practice, today (きょう), with --child"),
        QStringLiteral("KIND"));
    const QCommandLineOption child(
        QStringLiteral("child"),
        cli::say("にがてや きょうの プリントを つくる こどもの ニックネーム",
                 "the nickname of the child whose sheet is made"),
        QStringLiteral("NAME"));
    const QCommandLineOption withZero(
        QStringLiteral("with-zero"),
        cli::say("九九に ０の かけざんも いれる", "the table rows start from x0"));
    const QCommandLineOption listKinds(QStringLiteral("list-kinds"),
                                       cli::say("しゅるいの いちらん", "list every kind"));
    const cli::SheetOptions sheetOptions;
    parser.addOptions({sheet, withZero, child, listKinds, sheetOptions.count, sheetOptions.sets,
                       sheetOptions.output});
    if (const auto status = cli::parseArguments(parser, app->arguments())) return *status;

    if (parser.isSet(listKinds)) {
        cli::print(kindsList());
        return cli::kDone;
    }
    if (!parser.isSet(sheet)) {
        cli::complain(cli::say("--sheet で しゅるいを えらんでください（--list-kinds で いちらん）",
                               "nothing to do: give --sheet KIND (--list-kinds lists them)"));
        return cli::kBadInput;
    }
    const bool today = isToday(parser.value(sheet));
    const bool review = today || isReview(parser.value(sheet));
    if (review != parser.isSet(child)) {
        cli::complain(cli::say("--child は --sheet にがて か きょう と いっしょに つかいます",
                               "--child goes with --sheet review or today, and both need --child"));
        return cli::kBadInput;
    }
    const auto choice = review ? std::optional<Choice>(Choice{kReview, 0, {}})
                               : readKind(parser.value(sheet), parser.isSet(withZero));
    if (!choice) return cli::kBadInput;
    const auto request =
        cli::readSheetOptions(parser, sheetOptions, kMaxProblems, QStringLiteral("numira.pdf"));
    if (!request) return cli::kBadInput;
    const auto problems =
        review ? childSetOf(parser.value(child), today) : std::make_optional(common::DaySet());
    if (!problems) return cli::kBadInput;

    common::ClockRandomSource random;
    ProblemGenerators generators(random);
    QList<common::Worksheet> sets;
    for (int s = 0; s < request->sets; ++s) {
        ProblemStore store;
        if (today)
            fillDaySet(*problems, store);
        else if (review)
            fillReview(problems->problems, store);
        else
            generators.generate(*choice, store);
        store.count = std::min<qint32>(store.count, request->count);
        sets << makeWorksheet(store);
    }
    return cli::writeSheets(request->output, sets);
}

} // namespace numira
