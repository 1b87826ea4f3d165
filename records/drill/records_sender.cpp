// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/drill/records_sender.h"

#include "records/drill/background.h"
#include "records/messages/records_messages.h"
#include "records/store/records_store.h"
#include "records/tables/answers_table.h"
#include "records/tables/class_table.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QHash>
#include <QSqlQuery>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace common::records {

namespace {

// Answers read from the outbox at a time.
constexpr int kBatch = 200;
// The waits between tries while the server is away: short at first, so a
// moment's break costs a moment, then a few seconds.
constexpr std::chrono::milliseconds kFirstRetry{500};
constexpr std::chrono::milliseconds kLongestRetry{4000};
// How often the class's path is read again while the server stays reachable:
// a teacher's change reaches the pupil within the day, and the server is not
// asked at every answer.
constexpr qint64 kClassPathEveryMs = 60000;

} // namespace

class RecordsSender::Worker : public QObject {
public:
    Worker(RecordsSender& sender, QString file, QString service)
        : m_sender(sender), m_file(std::move(file)), m_service(std::move(service))
    {
        // A child, so that it moves to the sender's thread with its worker.
        m_retry.setParent(this);
        m_retry.setSingleShot(true);
        QObject::connect(&m_retry, &QTimer::timeout, this, [this] { pass(); });
    }

    // On the sender's thread, before anything else.
    void start()
    {
        giveWayToTheWindow();
        if (m_local.open(m_file) == Opening::kOpened) return;
        m_broken = true;
        std::fprintf(stderr, "records: nothing sent to the school's server: %s\n",
                     qUtf8Printable(m_local.errorText()));
    }
    // On the sender's thread, last: the connections close where they opened.
    void finish()
    {
        m_retry.stop();
        m_school.close();
        m_local.close();
    }
    void pass();

private:
    bool sendAll();
    // The class's path into the file, where the day's practice reads it.
    void keepClassPath();

    RecordsSender& m_sender;
    const QString m_file;
    const QString m_service;
    RecordsStore m_local;
    RecordsStore m_school;
    bool m_broken = false;
    qint64 m_child = 0;
    QHash<qint64, qint64> m_schoolSets; // a set of the file's, as the server numbers it
    KeyingCache m_keying;               // each child's keying on the server, for the limits
    bool m_told = false;
    std::optional<QString> m_refused; // why the last opening failed, for the adult
    std::chrono::milliseconds m_wait = kFirstRetry;
    QTimer m_retry;
    QElapsedTimer m_classPathRead; // since the class's path was last read
};

void RecordsSender::Worker::keepClassPath()
{
    if (m_classPathRead.isValid() && !m_classPathRead.hasExpired(kClassPathEveryMs)) return;
    const auto read = ClassTable(m_school.connection()).pupilsClassPath();
    // Not read: the file keeps its last copy, and it is tried at the next pass.
    if (!read) return;
    m_classPathRead.start();
    if (!*read) return; // the class set none: the pupil's own path stays
    // A pupil's file holds the child of its login alone.
    QList<qint64> pupils;
    QSqlQuery q(m_local.connection().database());
    if (!q.exec(QStringLiteral("SELECT id FROM children WHERE login IS NOT NULL"))) return;
    while (q.next()) pupils << q.value(0).toLongLong();
    q.finish();
    Transaction transaction(m_local.connection());
    if (!transaction.began()) return;
    ClassTable kept(m_local.connection());
    for (const qint64 pupil : pupils)
        if (!kept.keepClassPath(pupil, **read)) return;
    transaction.commit();
}

// One pass over the outbox: false when the server could not take it all.
bool RecordsSender::Worker::sendAll()
{
    for (;;) {
        if (!m_school.isOpen()) {
            m_schoolSets.clear();
            m_keying.clear();
            const Opening opening = m_school.openServer(m_service);
            const auto own =
                opening == Opening::kOpened ? m_school.loginChild({}) : std::optional<qint64>();
            if (!own) {
                m_refused = opening == Opening::kFailed
                                ? messages::openingWarning(m_school.opened())
                                : std::nullopt;
                m_school.close();
                return false;
            }
            m_child = *own;
            m_classPathRead.invalidate();
        }
        keepClassPath();
        const auto batch = m_local.outgoing(kBatch);
        if (!batch) return false;
        if (batch->isEmpty()) return true;
        // What waits goes in one transaction: one commit on the server for
        // a whole backlog.
        if (m_sender.m_quitting) return true;
        bool ok = true;
        {
            Transaction transaction(m_school.connection());
            AnswersTable answers(m_school.connection());
            ClassTable school(m_school.connection());
            ok = transaction.began();
            for (const Outgoing& o : *batch) {
                if (!ok) break;
                if (o.passed) {
                    ok = school.takePassed(m_child, *o.passed);
                } else if (o.answer) {
                    ok = answers.write(m_child, o.set, m_schoolSets[o.setId], *o.answer, m_keying)
                             .has_value();
                } else {
                    ok = answers.endSet(o.set.uid, o.score, o.endedAt);
                    m_schoolSets.remove(o.setId);
                }
            }
            ok = ok && transaction.commit();
        }
        if (!ok) {
            // The connection is made anew at the next try.
            m_school.close();
            return false;
        }
        // Not marked: it goes again, and the server keeps it once.
        if (!m_local.markSent(batch->back().id)) return false;
        m_sender.m_sent += batch->size();
    }
}

void RecordsSender::Worker::pass()
{
    m_sender.m_passQueued = false;
    // While a retry waits, what comes meanwhile goes with it.
    if (m_broken || m_sender.m_quitting || m_retry.isActive()) return;
    quint64 wakes = 0;
    {
        QMutexLocker lock(&m_sender.m_mutex);
        wakes = m_sender.m_wakes;
    }
    m_refused.reset();
    if (sendAll()) {
        m_wait = kFirstRetry;
        m_sender.foundEmpty(wakes);
        return;
    }
    if (!m_told) {
        m_told = true;
        // One line: a server's error comes in several.
        const QString why =
            (m_school.errorText().isEmpty() ? m_local.errorText() : m_school.errorText())
                .simplified();
        std::fprintf(stderr,
                     "records: the school's server does not take the answers now (%s); "
                     "they wait in %s\n",
                     qUtf8Printable(why), qUtf8Printable(m_file));
        m_local.addNotice(messages::notSent(m_refused));
    }
    m_retry.start(m_wait);
    m_wait = std::min(m_wait * 2, kLongestRetry);
}

RecordsSender::RecordsSender(QString file, QString service)
    : m_worker(new Worker(*this, std::move(file), std::move(service)))
{
    m_worker->moveToThread(m_thread.thread());
    QMetaObject::invokeMethod(
        m_worker, [worker = m_worker] { worker->start(); }, Qt::QueuedConnection);
    // What waited from before goes first.
    queuePass();
}

RecordsSender::~RecordsSender()
{
    m_quitting = true;
    m_thread.finish([worker = m_worker] { worker->finish(); });
    delete m_worker;
}

void RecordsSender::queuePass()
{
    if (m_passQueued.exchange(true)) return;
    QMetaObject::invokeMethod(
        m_worker, [worker = m_worker] { worker->pass(); }, Qt::QueuedConnection);
}

void RecordsSender::wake()
{
    {
        QMutexLocker lock(&m_mutex);
        ++m_wakes;
        m_empty = false;
    }
    queuePass();
}

void RecordsSender::foundEmpty(quint64 wakes)
{
    QMutexLocker lock(&m_mutex);
    if (wakes != m_wakes) return; // more came while it was sent
    m_empty = true;
    m_emptied.wakeAll();
}

bool RecordsSender::waitUntilSent(std::chrono::milliseconds timeout)
{
    QMutexLocker lock(&m_mutex);
    QDeadlineTimer deadline(timeout.count());
    while (!m_empty)
        if (!m_emptied.wait(&m_mutex, deadline)) return m_empty;
    return true;
}

} // namespace common::records
