// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Arithmetic both drills keep the same way.

namespace common {

// Most problems in a set, and so the largest number a child can fix.
inline constexpr int kMaxProblems = 100;

// Whole percentage of the problems right at the first try among those dealt
// with, the remainder dropped; nothing dealt with scores 0.
inline int firstTryPercent(int rightFirstTime, int dealtWith)
{
    return dealtWith > 0 ? rightFirstTime * 100 / dealtWith : 0;
}

// The number of problems a child fixes, kept within 1..kMaxProblems.
inline int clampProblemCount(long long typed)
{
    return typed > kMaxProblems ? kMaxProblems : typed < 1 ? 1 : static_cast<int>(typed);
}

} // namespace common
