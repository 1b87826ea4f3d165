// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a drill tells the records of a child's play: a set begun, each judged
// answer, a set ended. The drill cores call it through this interface; with
// records off they hold the null service, which keeps nothing.

#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <optional>

namespace common {

// A set as it starts.
struct SetRecord {
    QString program; // "numira" or "bairo"
    QString choice;  // what was chosen, e.g. "add:3", "table:2,7,9+0", "lcm:easy"
    int count = 0;   // problems in the set
    QString uid;     // the set's own id where it is sent on to a school's server
};

// One judged answer.
struct AnswerRecord {
    int position = 0;    // the problem's number in its set, from 1
    QString fact;        // the fact asked, e.g. "mul:7x8", "div:17/5", "lcm:6,8"
    QString rightAnswer; // as the drill shows it
    QString typed;       // as the child typed it
    int attempt = 1;     // the tries at this problem so far, this one included
    bool correct = false;
    bool answerShown = false; // the answer was on show when this was typed
    QString hint;             // a near miss told as such: "smaller-multiple", "larger-divisor"
    qint64 elapsedMs = 0;     // from the problem's showing to Return
    QDateTime answeredAt;     // UTC
    QString uid;              // the answer's own id where it is sent on to a school's server
};

// A problem of the practice of what was missed.
struct ReviewProblem {
    QString fact;     // "mul:7x8"
    QString question; // as the drill shows it: "7x8", "17÷5"
    QString answer;   // as the drill shows and judges it: "56", "3...2"
    bool due = false; // a missed fact come back, not one of the known ones among them
    bool operator==(const ReviewProblem&) const = default;
};

class RecordsService {
public:
    virtual ~RecordsService() = default;
    virtual void setStarted(const SetRecord& set) = 0;
    virtual void answered(const AnswerRecord& answer) = 0;
    // The first-try score the set ended with.
    virtual void setEnded(int score) = 0;
    // The practice of what the child playing missed: nothing with records
    // off or while nobody is known to play, an empty list when nothing is due.
    virtual std::optional<QList<ReviewProblem>> reviewSet() { return std::nullopt; }
    // Whether the keying of the child playing is known from its answers
    // (fluency.h): false while it is not, when the drill may give the
    // warm-up, a set of the choice "keying" whose answers are recorded as
    // the facts "key:<number>" (keyFact()); nothing with records off or
    // while nobody is known to play.
    virtual std::optional<bool> keyingKnown() { return std::nullopt; }
};

// Records off: nothing is kept.
RecordsService& nullRecords();

// A drill's side of its records: which set is running, the time since the
// problem on show appeared and the tries at it. Both drills tell it the same
// moments; it turns them into records for the service.
class AnswerLog {
public:
    explicit AnswerLog(RecordsService& records) : m_records(records) {}

    void setStarted(const QString& program, const QString& choice, int count);
    // A problem appeared: its clock and its tries start again.
    void problemShown();
    void answered(int position, const QString& fact, const QString& rightAnswer,
                  const QString& typed, bool correct, bool answerShown, const QString& hint = {});
    void setEnded(int score) { m_records.setEnded(score); }

private:
    RecordsService& m_records;
    QElapsedTimer m_shown;
    int m_attempts = 0;
};

} // namespace common
