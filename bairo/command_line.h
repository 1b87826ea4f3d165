// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace bairo {

// Worksheets without a window, for teachers:
//   bairo --sheet lcm|gcd [--level easy|hard] [--count N] [--sets S] [--output FILE.pdf]
// Returns the exit status.
int runCommandLine(int argc, char* argv[]);

} // namespace bairo
