// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The problems of a printed worksheet and their texts.

#include "bairo/core/drill.h"
#include "common/worksheet.h"

#include <QStringList>

#include <vector>

namespace common {
class RandomSource;
}

namespace bairo {

// Draws `count` problems for a sheet with one seeding: printing is set while
// they are drawn, so each newProblem follows the kind and level in force and
// refuses the previous pair exactly as the drill does.
std::vector<Problem> generateSheet(DrillState& drill, common::RandomSource& random, int count);

// The worksheet of `count` fresh problems of the kind and level in force, as
// the print button and the command line print it.
common::Worksheet makeWorksheet(DrillState& drill, common::RandomSource& random, int count);

// "4 と 6 の最小公倍数は" on the question pages.
QString sheetQuestion(const Problem& problem, int kind);
// "4 と 6 のLCMは 12" on the answer pages.
QString sheetAnswer(const Problem& problem, int kind);

} // namespace bairo
