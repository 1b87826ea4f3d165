// SPDX-License-Identifier: GPL-3.0-or-later
#include "bairo/core/sheet.h"

#include "common/random_source.h"

namespace bairo {

common::Worksheet makeWorksheet(Kind kind, Level level, int count, common::RandomSource& random,
                                const Problem& shown)
{
    common::Worksheet sheet{QStringLiteral("ＭＳゴシック"), 13, {}, {}};
    random.reseedFromClock();
    Problem problem = shown;
    for (int i = 0; i < count; ++i) {
        problem = drawProblem(kind, level, random, problem);
        sheet.problems << sheetQuestion(problem, kind);
        sheet.answers << sheetAnswer(problem, kind);
    }
    return sheet;
}

namespace {
QString pair(const Problem& p)
{
    return QString::number(p.first) + QStringLiteral(" と ") + QString::number(p.second) +
           QStringLiteral(" の");
}
} // namespace

QString sheetQuestion(const Problem& problem, Kind kind)
{
    return pair(problem) + kindWord(kind) + QStringLiteral("は");
}

QString sheetAnswer(const Problem& problem, Kind kind)
{
    const QString abbreviation = kind == Kind::kLcm ? QStringLiteral("LCM") : QStringLiteral("GCM");
    return pair(problem) + abbreviation + QStringLiteral("は ") + QString::number(problem.answer);
}

} // namespace bairo
