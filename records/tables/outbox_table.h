// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A pupil's file's outbox: what is still to go on to the school's server,
// in the order it came: an answer (with its set), the end of a set, or a
// step passed (queued by the file itself as the step is written).

#include "records/database/connection.h"
#include "records/model/records_service.h"
#include "records/tables/class_table.h"

#include <QDateTime>
#include <QList>

#include <optional>

namespace common::records {

// What waits: an answer with its set, a set's end (no answer), or a passed
// step (no set: `setId` 0).
struct Outgoing {
    qint64 id = 0;
    qint64 setId = 0; // in this file
    SetRecord set;
    std::optional<AnswerRecord> answer;
    int score = 0;
    QDateTime endedAt;
    std::optional<PassedStep> passed;
};

class OutboxTable {
public:
    explicit OutboxTable(Connection& connection) : m_connection(connection) {}

    // Inside the caller's transaction, with what is queued.
    bool queueAnswer(qint64 answerId);
    bool queueEnd(qint64 setId);
    // Oldest first, at most `limit`.
    std::optional<QList<Outgoing>> outgoing(int limit);
    // Everything up to `outgoingId` went.
    bool markSent(qint64 outgoingId);

private:
    Connection& m_connection;
};

} // namespace common::records
