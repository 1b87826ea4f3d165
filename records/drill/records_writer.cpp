// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/drill/records_writer.h"

#include "records/drill/background.h"
#include "records/reads/review.h"
#include "records/tables/fact_rows.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QUuid>

#include <pwd.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <future>

namespace common::records {

namespace {

// The account playing: a pupil's database role has its name.
QString loginName()
{
    if (const passwd* user = getpwuid(geteuid())) return QString::fromLocal8Bit(user->pw_name);
    return qEnvironmentVariable("USER");
}

QString newUid() { return QUuid::createUuid().toString(QUuid::WithoutBraces); }

} // namespace

RecordsWriter::RecordsWriter(QString file, QString server)
    : m_file(std::move(file)), m_service(std::move(server)), m_thread([this] { run(); })
{
}

RecordsWriter::~RecordsWriter()
{
    {
        std::lock_guard lock(m_mutex);
        m_quitting = true;
    }
    m_wake.notify_one();
    m_thread.join();
    // What the sender has not sent yet waits in the file for the next start.
    m_sender.reset();
}

void RecordsWriter::post(std::function<void()> job)
{
    // After a failure the drill goes on without a queue growing behind it.
    if (m_stopped.load(std::memory_order_relaxed)) return;
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

void RecordsWriter::run()
{
    giveWayToTheWindow();
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_quitting || !m_jobs.empty(); });
            if (m_jobs.empty()) break; // quitting with nothing left to write
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
            m_busy = true;
        }
        if (!m_stopped.load(std::memory_order_relaxed)) job();
        {
            std::lock_guard lock(m_mutex);
            m_busy = false;
        }
        m_idle.notify_all();
    }
    m_store.reset(); // the connection closes on the thread that made it
}

void RecordsWriter::flush()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
}

void RecordsWriter::stop(const QString& why)
{
    m_stopped = true;
    std::fprintf(stderr, "records: not kept until the next start: %s\n", qUtf8Printable(why));
}

void RecordsWriter::open(std::function<void(const OpenedRecords&)> opened)
{
    post([this, opened = std::move(opened)] {
        m_store = std::make_unique<RecordsStore>();
        OpenedRecords result;
        result.opening = m_store->open(m_file);
        switch (result.opening) {
        case Opening::kMovedAside:
            std::fprintf(stderr, "records: %s was moved aside to %s (%s); a new file was started\n",
                         qUtf8Printable(m_file), qUtf8Printable(m_store->movedTo()),
                         qUtf8Printable(m_store->errorText()));
            [[fallthrough]];
        case Opening::kOpened:
            if (!m_service.isEmpty()) {
                // A pupil is its login: nobody is asked.
                const QString login = loginName();
                const auto child = m_store->loginChild(login);
                if (!child) {
                    stop(m_store->errorText());
                    break;
                }
                m_child = *child;
                result.children = {{m_child, login}};
                m_sender = std::make_unique<RecordsSender>(m_file, m_service);
                break;
            }
            result.children = m_store->children();
            // One child plays without being asked.
            if (result.children.size() == 1) m_child = result.children.front().id;
            break;
        case Opening::kReadOnly:
        case Opening::kFailed: stop(m_file + QStringLiteral(": ") + m_store->errorText()); break;
        }
        opened(result);
        // Once the drill has its answer: the answers older than the file
        // keeps go, once a day. Failing here costs a line, not the records.
        if (result.opening == Opening::kOpened && !m_store->keepToSetting(QDate::currentDate()))
            std::fprintf(stderr, "records: old answers not removed: %s\n",
                         qUtf8Printable(m_store->errorText()));
    });
}

void RecordsWriter::chooseChild(qint64 id)
{
    post([this, id] { m_child = id; });
}

void RecordsWriter::setStarted(const SetRecord& set)
{
    post([this, set] {
        m_set = set;
        if (m_sender) m_set.uid = newUid();
        m_setId = 0; // the set's row is written with its first answer
    });
}

void RecordsWriter::answered(const AnswerRecord& answer)
{
    post([this, answer] {
        if (m_child == 0 || m_set.program.isEmpty()) return;
        AnswerRecord a = answer;
        if (m_sender) a.uid = newUid();
        // A pupil's answers also wait in the outbox for the sender.
        const bool written = m_sender ? m_store->recordAnswerToSend(m_child, m_set, m_setId, a)
                                      : m_store->recordAnswer(m_child, m_set, m_setId, a);
        if (!written) stop(m_store->errorText());
        if (m_sender) m_sender->wake();
    });
}

void RecordsWriter::setEnded(int score)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    post([this, score, now] {
        if (m_setId == 0) return; // a set without answers leaves no row
        const bool written = m_sender ? m_store->endSetToSend(m_setId, score, now)
                                      : m_store->endSet(m_setId, score, now);
        if (!written) stop(m_store->errorText());
        if (m_sender) m_sender->wake();
        m_setId = 0;
        m_set = {};
    });
}

std::optional<bool> RecordsWriter::keyingKnown()
{
    using Result = std::optional<bool>;
    if (m_stopped.load(std::memory_order_relaxed)) return std::nullopt;
    auto result = std::make_shared<std::promise<Result>>();
    std::future<Result> answer = result->get_future();
    post([this, result] {
        result->set_value(m_child == 0
                              ? Result()
                              : Result(readKeyMs(m_store->connection(), m_child).has_value()));
    });
    if (answer.wait_for(std::chrono::seconds(2)) != std::future_status::ready) return std::nullopt;
    try {
        return answer.get();
    } catch (const std::future_error&) {
        return std::nullopt;
    }
}

std::optional<QList<ReviewProblem>> RecordsWriter::reviewSet()
{
    using Result = std::optional<QList<ReviewProblem>>;
    if (m_stopped.load(std::memory_order_relaxed)) return std::nullopt;
    auto result = std::make_shared<std::promise<Result>>();
    std::future<Result> answer = result->get_future();
    const quint32 seed = QRandomGenerator::global()->generate();
    post([this, result, seed] {
        if (m_child == 0) {
            result->set_value(std::nullopt);
            return;
        }
        result->set_value(
            readReviewSet(m_store->connection(), m_child, QDate::currentDate(), seed));
    });
    // A file held up elsewhere must not hold up the choice window for long.
    if (answer.wait_for(std::chrono::seconds(2)) != std::future_status::ready) return std::nullopt;
    try {
        return answer.get();
    } catch (const std::future_error&) { // the writer stopped before it came to it
        return std::nullopt;
    }
}

} // namespace common::records
