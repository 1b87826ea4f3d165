// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The records service of a drill: every record is queued and written in order
// on a thread of its own (event_thread.h), so that a slow disk or the other
// drill holding the file never holds up a Return. A write that fails stops the
// recording until the next start, with one line on standard error; what was
// written stays. At the opening it also removes the answers older than the file
// keeps, at most once a day.
//
// For a school (a server named), the file is the pupil's own: the child is the
// account's login, nobody is asked who plays, and each answer also goes in the
// file's outbox for the sender to take on to the server.

#include "records/drill/event_thread.h"
#include "records/drill/records_sender.h"
#include "records/model/records_service.h"
#include "records/store/records_store.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>

namespace common::records {

// What the opening found, for the drill to ask who is playing.
struct OpenedRecords {
    Opening opening = Opening::kFailed;
    QList<Child> children;
};

class RecordsWriter final : public RecordsService {
public:
    explicit RecordsWriter(QString file, QString server = {});
    // Writes what is still queued, then closes the file.
    ~RecordsWriter() override;

    // Opens the file on the writer's thread and calls `opened` there.
    void open(std::function<void(const OpenedRecords&)> opened);
    // Whose answers follow; none recorded before a child is chosen.
    void chooseChild(qint64 id);

    void setStarted(const SetRecord& set) override;
    void answered(const AnswerRecord& answer) override;
    void setEnded(int score) override;
    // Read on the writer's thread, after what is queued is written.
    std::optional<QList<ReviewProblem>> reviewSet() override;
    // Read on the writer's thread, after what is queued is written.
    std::optional<bool> keyingKnown() override;
    // Read on the writer's thread, after what is queued is written.
    std::optional<DayPage> dayPage() override;
    // On the writer's thread after the set's end: the steps it passed are
    // kept (with the end of the placement), and today's mark is told.
    std::optional<DayOutcome> dayFinished() override;

    // Waits until everything queued so far is written.
    void flush();
    // The sender to a school's server, once the file is open; none for a
    // family (tests, benchmarks).
    RecordsSender* sender() { return m_sender.get(); }

private:
    // What the writer's thread owns and alone touches: the store and the
    // set being played. It lives on that thread; every call reaches it as a
    // queued call, in the order made.
    class Worker : public QObject {
    public:
        std::unique_ptr<RecordsStore> store;
        qint64 child = 0;
        SetRecord set;
        qint64 setId = 0;
        qint64 endedSetId = 0; // the set ended last, for the day's mark
    };

    void post(std::function<void(Worker&)> job);
    // `read` on the writer's thread after what is queued, waited for a
    // short while at most: nothing when it did not come in time.
    template <typename T> std::optional<T> ask(std::function<std::optional<T>(Worker&)> read);
    void stop(const QString& why);

    QString m_file;
    QString m_service;
    EventThread m_thread;
    Worker* m_worker;                        // deleted once its thread has ended
    std::unique_ptr<RecordsSender> m_sender; // made on the writer's thread at the opening
    std::atomic<bool> m_stopped{false};
};

} // namespace common::records
