// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The worksheet: problems drawn for it alone, and their texts.

#include "bairo/core/drill.h"
#include "common/worksheet.h"

#include <QString>

namespace common {
class RandomSource;
}

namespace bairo {

// A worksheet of `count` fresh problems of the kind and level, drawn from one
// seeding; like the drill, no problem repeats the pair just before it, and
// the first not `shown` (the problem on the screen, when printed from the
// window). The print button and the command line both print this.
common::Worksheet makeWorksheet(Kind kind, Level level, int count, common::RandomSource& random,
                                const Problem& shown = {});

// "4 と 6 の最小公倍数は" on the question pages.
QString sheetQuestion(const Problem& problem, Kind kind);
// "4 と 6 のLCMは 12" on the answer pages.
QString sheetAnswer(const Problem& problem, Kind kind);

} // namespace bairo
