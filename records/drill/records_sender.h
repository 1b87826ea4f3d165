// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A pupil's answers on their way to the school's server. The drill writes each
// answer to its own records file first, with the answer in the file's outbox;
// this sends the outbox on, oldest first, on a thread of its own
// (event_thread.h), so that neither a slow network nor a server that is away
// touches the drill. Each answer and set carries its own id, which the server
// takes once: an answer sent again after a lost connection adds nothing. While
// the server is away the answers wait in the file (also across starts of the
// drill) and are tried again every few seconds; the adult is told once, in the
// file's notices and with one line on standard error.
//
// The steps the pupil passes go the same way (the file queues them as they
// are written). Each time it reaches the server, and every minute while it
// stays reachable, it reads the path the pupil's class set and keeps it in
// the file as the child's own, with its pinned step and day's length: the
// day's practice follows the class, from the last copy while the server is
// away.

#include "records/drill/event_thread.h"

#include <QMutex>
#include <QString>
#include <QWaitCondition>

#include <atomic>
#include <chrono>

namespace common::records {

class RecordsSender {
public:
    // `file`: the pupil's records file (already brought up to date);
    // `service`: the libpq service name of the server.
    RecordsSender(QString file, QString service);
    // Stops after the answer in hand; what is left waits in the file.
    ~RecordsSender();
    RecordsSender(const RecordsSender&) = delete;
    RecordsSender& operator=(const RecordsSender&) = delete;

    // More waits in the outbox.
    void wake();
    // Answers, set ends and passed steps the server took since the start.
    qint64 sent() const { return m_sent.load(); }
    // Waits until the outbox was found empty after the last wake(), or
    // `timeout` passed (tests, benchmarks).
    bool waitUntilSent(std::chrono::milliseconds timeout);

private:
    // The sender's thread's own: the two stores and the sending's state
    // (records_sender.cpp). It lives on that thread and is reached by queued
    // calls only.
    class Worker;

    // A pass over the outbox is queued unless one is already.
    void queuePass();
    // A pass found the outbox empty: `wakes` is how many wakes came before it began.
    void foundEmpty(quint64 wakes);

    EventThread m_thread;
    Worker* m_worker; // deleted once its thread has ended
    std::atomic<qint64> m_sent{0};
    std::atomic<bool> m_quitting{false};
    std::atomic<bool> m_passQueued{false};
    // For waitUntilSent() alone.
    QMutex m_mutex;
    QWaitCondition m_emptied;
    quint64 m_wakes = 0;
    bool m_empty = false;
};

} // namespace common::records
