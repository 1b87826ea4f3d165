// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace bairo {
// Bairo's own version, as its window title shows it ("バイロ Ver2.01 R2") and
// --version says it beside the package's.
inline constexpr char kVersion[] = "2.01 R2";
} // namespace bairo
