// SPDX-License-Identifier: GPL-3.0-or-later
#include "bairo/core/sheet.h"

#include "common/random_source.h"

namespace bairo {

std::vector<Problem> generateSheet(DrillState& drill, common::RandomSource& random, int count)
{
    std::vector<Problem> sheet;
    drill.printing = true;
    random.reseedFromClock();
    for (int i = 0; i < count; ++i) {
        drill.newProblem(random);
        sheet.push_back(drill.currentProblem);
    }
    drill.printing = false;
    return sheet;
}

common::Worksheet makeWorksheet(DrillState& drill, common::RandomSource& random, int count)
{
    const int kind = drill.problemKind;
    common::Worksheet sheet{QStringLiteral("ＭＳゴシック"), 13, {}, {}};
    for (const Problem& p : generateSheet(drill, random, count)) {
        sheet.problems << sheetQuestion(p, kind);
        sheet.answers << sheetAnswer(p, kind);
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

QString sheetQuestion(const Problem& problem, int kind)
{
    return pair(problem) + kindWord(kind) + QStringLiteral("は");
}

QString sheetAnswer(const Problem& problem, int kind)
{
    const QString abbreviation = kind == 0 ? QStringLiteral("LCM") : QStringLiteral("GCM");
    return pair(problem) + abbreviation + QStringLiteral("は ") + QString::number(problem.answer);
}

} // namespace bairo
