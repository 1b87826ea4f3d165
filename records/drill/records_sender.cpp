// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/drill/records_sender.h"

#include "records/drill/background.h"
#include "records/messages/records_messages.h"
#include "records/store/records_store.h"
#include "records/tables/answers_table.h"

#include <QHash>

#include <algorithm>
#include <cstdio>

namespace common::records {

namespace {

// Answers read from the outbox at a time.
constexpr int kBatch = 200;
// The waits between tries while the server is away: short at first, so a
// moment's break costs a moment, then a few seconds.
constexpr std::chrono::milliseconds kFirstRetry{500};
constexpr std::chrono::milliseconds kLongestRetry{4000};

} // namespace

RecordsSender::RecordsSender(QString file, QString service)
    : m_file(std::move(file)), m_service(std::move(service)), m_thread([this] { run(); })
{
}

RecordsSender::~RecordsSender()
{
    {
        std::lock_guard lock(m_mutex);
        m_quitting = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void RecordsSender::wake()
{
    {
        std::lock_guard lock(m_mutex);
        m_more = true;
        m_empty = false;
    }
    m_wake.notify_all();
}

bool RecordsSender::waitUntilSent(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    return m_emptied.wait_for(lock, timeout, [this] { return m_empty; });
}

void RecordsSender::run()
{
    giveWayToTheWindow();
    RecordsStore local;
    if (local.open(m_file) != Opening::kOpened) {
        std::fprintf(stderr, "records: nothing sent to the school's server: %s\n",
                     qUtf8Printable(local.errorText()));
        return;
    }
    RecordsStore server;
    qint64 child = 0;
    QHash<qint64, qint64> serverSets; // a set of the file's, as the server numbers it
    KeyingCache keying;               // each child's keying on the server, for the limits
    bool told = false;
    std::optional<QString> refused; // why the last opening failed, for the adult
    std::chrono::milliseconds retry = kFirstRetry;
    const auto quitting = [this] {
        std::lock_guard lock(m_mutex);
        return m_quitting;
    };
    // One pass over the outbox: false when the server could not take it all.
    const auto sendAll = [&] {
        for (;;) {
            if (!server.isOpen()) {
                serverSets.clear();
                const Opening opening = server.openServer(m_service);
                const auto own =
                    opening == Opening::kOpened ? server.loginChild({}) : std::optional<qint64>();
                if (!own) {
                    refused = opening == Opening::kFailed
                                  ? messages::openingWarning(server.opened())
                                  : std::nullopt;
                    server.close();
                    return false;
                }
                child = *own;
            }
            const auto batch = local.outgoing(kBatch);
            if (!batch) return false;
            if (batch->isEmpty()) return true;
            // What waits goes in one transaction: one commit on the server
            // for a whole backlog.
            if (quitting()) return true;
            bool ok = true;
            {
                Transaction transaction(server.connection());
                AnswersTable answers(server.connection());
                ok = transaction.began();
                for (const Outgoing& o : *batch) {
                    if (!ok) break;
                    if (o.answer) {
                        ok = answers.write(child, o.set, serverSets[o.setId], *o.answer, keying)
                                 .has_value();
                    } else {
                        ok = answers.endSet(o.set.uid, o.score, o.endedAt);
                        serverSets.remove(o.setId);
                    }
                }
                ok = ok && transaction.commit();
            }
            if (!ok) {
                // The connection is made anew at the next try.
                server.close();
                return false;
            }
            // Not marked: it goes again, and the server keeps it once.
            if (!local.markSent(batch->back().id)) return false;
            m_sent += batch->size();
        }
    };
    for (;;) {
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_quitting || m_more; });
            if (m_quitting) break;
            m_more = false;
        }
        refused.reset();
        if (sendAll()) {
            retry = kFirstRetry;
            std::lock_guard lock(m_mutex);
            if (!m_more) m_empty = true;
            m_emptied.notify_all();
            continue;
        }
        if (!told) {
            told = true;
            // One line: a server's error comes in several.
            const QString why =
                (server.errorText().isEmpty() ? local.errorText() : server.errorText())
                    .simplified();
            std::fprintf(stderr,
                         "records: the school's server does not take the answers now (%s); "
                         "they wait in %s\n",
                         qUtf8Printable(why), qUtf8Printable(m_file));
            local.addNotice(messages::notSent(refused));
        }
        std::unique_lock lock(m_mutex);
        m_wake.wait_for(lock, retry, [this] { return m_quitting; });
        retry = std::min(retry * 2, kLongestRetry);
        m_more = true;
    }
}

} // namespace common::records
