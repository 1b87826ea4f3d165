// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace numira {

// Worksheets without a window, for teachers:
//   numira --sheet KIND [--with-zero] [--count N] [--sets S] [--output FILE.pdf]
//   numira --list-kinds
// KIND is a catalogue item by category and number (たしざん:4 or addition:4)
// or the multiplication table by rows (九九:2,3,7 or table:2,3,7); with
// --child NAME, from the records file, that child's review (review or にがて)
// or its day's practice (today or きょう).
// Returns the exit status.
int runCommandLine(int argc, char* argv[]);

} // namespace numira
