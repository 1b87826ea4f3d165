// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A thread of the records' own running Qt's event loop: a worker object moved
// onto it is reached by queued calls, run there one by one in the order they
// were made. Its end runs every call queued before it and then joins the
// thread, so that no thread of the records outlives its owner (a process
// ends only once they are gone).

#include <QObject>
#include <QThread>

#include <thread>

namespace common::records {

class EventThread {
public:
    EventThread();
    ~EventThread();
    EventThread(const EventThread&) = delete;
    EventThread& operator=(const EventThread&) = delete;

    // The thread, for QObject::moveToThread().
    QThread* thread() const { return m_qthread; }
    // Ends the loop after every call queued so far and waits for the thread
    // to end; `last` runs there first. The destructor ends it so too.
    template <typename Last> void finish(Last last)
    {
        if (!m_thread.joinable()) return;
        QMetaObject::invokeMethod(
            m_anchor,
            [last = std::move(last)]() mutable {
                last();
                quitLoop();
            },
            Qt::QueuedConnection);
        m_thread.join();
    }

private:
    static void quitLoop();

    std::thread m_thread;
    QThread* m_qthread = nullptr;
    QObject* m_anchor = nullptr; // lives on the thread, for the last call
};

} // namespace common::records
