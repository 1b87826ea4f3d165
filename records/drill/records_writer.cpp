// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/drill/records_writer.h"

#include "records/drill/background.h"
#include "records/reads/day_set.h"
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
    : m_file(std::move(file)), m_service(std::move(server)), m_worker(new Worker)
{
    m_worker->moveToThread(m_thread.thread());
    post([](Worker&) { giveWayToTheWindow(); });
}

RecordsWriter::~RecordsWriter()
{
    // After everything queued before it: the connection closes on the
    // thread that made it, and the thread ends.
    m_thread.finish([worker = m_worker] { worker->store.reset(); });
    delete m_worker;
    // What the sender has not sent yet waits in the file for the next start.
    m_sender.reset();
}

void RecordsWriter::post(std::function<void(Worker&)> job)
{
    // After a failure the drill goes on without a queue growing behind it.
    if (m_stopped.load(std::memory_order_relaxed)) return;
    QMetaObject::invokeMethod(
        m_worker,
        [this, job = std::move(job)] {
            if (!m_stopped.load(std::memory_order_relaxed)) job(*m_worker);
        },
        Qt::QueuedConnection);
}

void RecordsWriter::flush()
{
    QMetaObject::invokeMethod(
        m_worker, [] {}, Qt::BlockingQueuedConnection);
}

void RecordsWriter::stop(const QString& why)
{
    m_stopped = true;
    std::fprintf(stderr, "records: not kept until the next start: %s\n", qUtf8Printable(why));
}

void RecordsWriter::open(std::function<void(const OpenedRecords&)> opened)
{
    post([this, opened = std::move(opened)](Worker& w) {
        w.store = std::make_unique<RecordsStore>();
        OpenedRecords result;
        result.opening = w.store->open(m_file);
        switch (result.opening) {
        case Opening::kMovedAside:
            std::fprintf(stderr, "records: %s was moved aside to %s (%s); a new file was started\n",
                         qUtf8Printable(m_file), qUtf8Printable(w.store->movedTo()),
                         qUtf8Printable(w.store->errorText()));
            [[fallthrough]];
        case Opening::kOpened:
            if (!m_service.isEmpty()) {
                // A pupil is its login: nobody is asked.
                const QString login = loginName();
                const auto child = w.store->loginChild(login);
                if (!child) {
                    stop(w.store->errorText());
                    break;
                }
                w.child = *child;
                result.children = {{w.child, login}};
                m_sender = std::make_unique<RecordsSender>(m_file, m_service);
                break;
            }
            result.children = w.store->children();
            // One child plays without being asked.
            if (result.children.size() == 1) w.child = result.children.front().id;
            break;
        case Opening::kReadOnly:
        case Opening::kFailed: stop(m_file + QStringLiteral(": ") + w.store->errorText()); break;
        }
        opened(result);
        // Once the drill has its answer: the answers older than the file
        // keeps go, once a day. Failing here costs a line, not the records.
        if (result.opening == Opening::kOpened && !w.store->keepToSetting(QDate::currentDate()))
            std::fprintf(stderr, "records: old answers not removed: %s\n",
                         qUtf8Printable(w.store->errorText()));
    });
}

void RecordsWriter::chooseChild(qint64 id)
{
    post([id](Worker& w) { w.child = id; });
}

void RecordsWriter::setStarted(const SetRecord& set)
{
    post([this, set](Worker& w) {
        w.set = set;
        if (m_sender) w.set.uid = newUid();
        w.setId = 0; // the set's row is written with its first answer
    });
}

void RecordsWriter::answered(const AnswerRecord& answer)
{
    post([this, answer](Worker& w) {
        if (w.child == 0 || w.set.program.isEmpty()) return;
        AnswerRecord a = answer;
        if (m_sender) a.uid = newUid();
        // A pupil's answers also wait in the outbox for the sender.
        const bool written = m_sender ? w.store->recordAnswerToSend(w.child, w.set, w.setId, a)
                                      : w.store->recordAnswer(w.child, w.set, w.setId, a);
        if (!written) stop(w.store->errorText());
        if (m_sender) m_sender->wake();
    });
}

void RecordsWriter::setEnded(int score)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    post([this, score, now](Worker& w) {
        w.endedSetId = 0;
        if (w.setId == 0) return; // a set without answers leaves no row
        const bool written = m_sender ? w.store->endSetToSend(w.setId, score, now)
                                      : w.store->endSet(w.setId, score, now);
        if (!written) stop(w.store->errorText());
        if (m_sender) m_sender->wake();
        w.endedSetId = written ? w.setId : 0;
        w.setId = 0;
        w.set = {};
    });
}

template <typename T>
std::optional<T> RecordsWriter::ask(std::function<std::optional<T>(Worker&)> read)
{
    if (m_stopped.load(std::memory_order_relaxed)) return std::nullopt;
    auto result = std::make_shared<std::promise<std::optional<T>>>();
    std::future<std::optional<T>> answer = result->get_future();
    post([result, read = std::move(read)](Worker& w) {
        result->set_value(w.child == 0 ? std::nullopt : read(w));
    });
    // A file held up elsewhere must not hold up the drill's window for long.
    if (answer.wait_for(std::chrono::seconds(2)) != std::future_status::ready) return std::nullopt;
    try {
        return answer.get();
    } catch (const std::future_error&) { // the writer stopped before it came to it
        return std::nullopt;
    }
}

std::optional<bool> RecordsWriter::keyingKnown()
{
    return ask<bool>([](Worker& w) {
        return std::optional<bool>(readKeyMs(w.store->connection(), w.child).has_value());
    });
}

std::optional<QList<ReviewProblem>> RecordsWriter::reviewSet()
{
    const quint32 seed = QRandomGenerator::global()->generate();
    return ask<QList<ReviewProblem>>([seed](Worker& w) {
        return std::optional<QList<ReviewProblem>>(
            readReviewSet(w.store->connection(), w.child, QDate::currentDate(), seed));
    });
}

std::optional<DayPage> RecordsWriter::dayPage()
{
    return ask<DayPage>([](Worker& w) -> std::optional<DayPage> {
        const QDate today = QDate::currentDate();
        auto set = readDaySet(w.store->connection(), w.child, today);
        auto marks = readDayMarks(w.store->connection(), w.child, today);
        if (!set || !marks) return std::nullopt;
        return DayPage{std::move(*set), std::move(*marks)};
    });
}

std::optional<DayOutcome> RecordsWriter::dayFinished()
{
    return ask<DayOutcome>([this](Worker& w) -> std::optional<DayOutcome> {
        const QDate today = QDate::currentDate();
        Connection& connection = w.store->connection();
        // The facts as this set left them.
        const auto input = readPlanInput(connection, w.child, today);
        if (!input) return std::nullopt;
        const Passing passing = stepsPassed(*input);
        if (!passing.passed.isEmpty() || (input->placing && !passing.placing)) {
            PathTable paths(connection);
            Transaction transaction(connection);
            if (!transaction.began() ||
                !paths.markPassed(w.child, passing.passed, today, input->placing) ||
                (input->placing && !passing.placing && !paths.endPlacement(w.child)) ||
                !transaction.commit()) {
                stop(w.store->errorText());
                return std::nullopt;
            }
        }
        DayOutcome outcome;
        outcome.passed = passing.passed;
        const auto marks = readDayMarks(connection, w.child, today);
        const auto first = w.endedSetId == 0
                               ? std::optional<bool>(false)
                               : isDaysFirstMark(connection, w.child, w.endedSetId, today);
        if (!marks || !first) return std::nullopt;
        outcome.marks = *marks;
        outcome.markEarned = *first;
        return outcome;
    });
}

} // namespace common::records
