#include "bairo/core/sheet.h"

#include "common/random_source.h"

namespace bairo {

std::vector<Problem> GenerateSheet(DrillState& drill, common::RandomSource& random, int count)
{
    std::vector<Problem> sheet;
    drill.Printing = true;
    random.reseedFromClock();
    for (int i = 0; i < count; ++i) {
        drill.NewProblem(random);
        sheet.push_back(drill.CurrentProblem);
    }
    drill.Printing = false;
    return sheet;
}

namespace {
QString pair(const Problem& p)
{
    return QString::number(p.First) + QStringLiteral(" と ") + QString::number(p.Second) +
           QStringLiteral(" の");
}
} // namespace

QString SheetQuestion(const Problem& problem, int kind)
{
    return pair(problem) + KindWord(kind) + QStringLiteral("は");
}

QString SheetAnswer(const Problem& problem, int kind)
{
    const QString abbreviation = kind == 0 ? QStringLiteral("LCM") : QStringLiteral("GCM");
    return pair(problem) + abbreviation + QStringLiteral("は ") + QString::number(problem.Answer);
}

} // namespace bairo
