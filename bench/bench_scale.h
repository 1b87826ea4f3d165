// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How big a benchmark runs. Run by hand, at its full size; run by the test
// suite (APP_BENCH_SMALLEST set), once at its smallest, going through every
// step it times, so that a change that breaks a benchmark (a migration that
// its copy of a table misses, say) fails the suite and not the next person
// who needs its figures.
#include <QtGlobal>

namespace bench {

inline bool smallest() { return qEnvironmentVariableIsSet("APP_BENCH_SMALLEST"); }

// `full` by hand, `least` in the suite.
inline int sized(int full, int least) { return smallest() ? least : full; }

} // namespace bench
