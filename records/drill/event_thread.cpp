// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/drill/event_thread.h"

#include <QEventLoop>
#include <QSemaphore>

namespace common::records {

namespace {

// The loop of the calling thread, while it runs.
thread_local QEventLoop* runningLoop = nullptr;

} // namespace

EventThread::EventThread()
{
    QSemaphore ready;
    m_thread = std::thread([this, &ready] {
        QEventLoop loop;
        QObject anchor;
        runningLoop = &loop;
        m_anchor = &anchor;
        m_qthread = QThread::currentThread();
        ready.release();
        loop.exec();
        runningLoop = nullptr;
    });
    ready.acquire();
}

EventThread::~EventThread()
{
    finish([] {});
}

void EventThread::quitLoop()
{
    if (runningLoop) runningLoop->quit();
}

} // namespace common::records
