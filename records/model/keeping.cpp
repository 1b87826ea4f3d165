// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/model/keeping.h"

namespace common::records {

const QList<int>& keepingChoices()
{
    static const QList<int> choices{kKeepAll, 3, 6, 12, 24};
    return choices;
}

QDateTime keepingCutOff(int months, const QDate& today)
{
    return QDateTime(today.addMonths(-months), QTime(0, 0));
}

} // namespace common::records
