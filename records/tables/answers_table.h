// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The sets and their answers, with each answer's fact row brought up to date
// (its counts, latest first tries and review box) as it is written. Every
// method here writes inside the caller's transaction.

#include "records/database/connection.h"
#include "records/model/records_service.h"

#include <QDateTime>
#include <QHash>

#include <optional>

namespace common::records {

// Each child's keying as last read from its fact rows (none: not known
// yet), kept by the store for the limit each answer carries; an answer that
// may tell the keying anew drops the child's entry.
using KeyingCache = QHash<qint64, std::optional<int>>;

class AnswersTable {
public:
    explicit AnswersTable(Connection& connection) : m_connection(connection) {}

    // One judged answer, with its set written first when it is new (`setId`
    // 0: it is set to the new row). Where a set or an answer carries a uid,
    // one already stored is not stored again. The new answer's id; 0 when it
    // was stored before; nothing after a failure.
    // The answer carries the limit in force (fluency.h) under the speed
    // rule, and a right first try's time goes to its fact row.
    std::optional<qint64> write(qint64 childId, const SetRecord& set, qint64& setId,
                                const AnswerRecord& answer, KeyingCache& keying);
    // The end of a set, known by its id here or by its uid (a server's).
    bool endSet(qint64 setId, int score, const QDateTime& endedAt);
    bool endSet(const QString& setUid, int score, const QDateTime& endedAt);

private:
    Connection& m_connection;
};

} // namespace common::records
