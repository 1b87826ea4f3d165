// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A generated child-year for benchmarks and the real-display walk: 100
// answers a day for the 365 days (or `days`) up to `end`, at the times table from 0, about
// one in five missed at the first try (and then answered right), some facts
// far more often than others, written through the store as the drills write
// them.

#include <QDateTime>

namespace common::records {
class RecordsStore;
}

namespace test_support {

// False when the store refused an answer.
bool writeChildYear(common::records::RecordsStore& store, qint64 child, const QDateTime& end,
                    int days = 365);

} // namespace test_support
