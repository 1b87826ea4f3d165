// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace bairo {

// Bairo's look for the whole application, set at start-up before its window
// is built: hints come up after 100 ms in aqua, and the radio groups get an
// etched frame drawn in place. Installed once however often it is called.
void installHintStyle();

} // namespace bairo
