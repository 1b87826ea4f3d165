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

// The day's practice of the child playing (day_plan.h).
struct DaySet {
    QString step;                  // the step it works on; empty when the path is all passed
    QList<ReviewProblem> problems; // its facts, in order (`due` marks a missed one come back)
    QString procedureKind;         // a procedure step: its kind ("add:4"), whose short set follows
    int procedureCount = 0;
    quint32 seed = 0;     // from the child and the day: the same set all day
    bool placing = false; // the child's first days, which find where it stands
    // The choice the set is recorded as: "today:" and its step.
    QString choice() const { return QStringLiteral("today:") + step; }
    bool operator==(const DaySet&) const = default;
};

// The days a child finished its day's practice.
struct DayMarks {
    QList<QDate> month; // this local month's days with the day's mark, in order
    int daysInRow = 0;  // marked days in a row up to today (or yesterday, today still to come)
    bool today = false; // today's mark is earned
    bool operator==(const DayMarks&) const = default;
};

// What the choice window shows of the day: the day's set and the marks.
struct DayPage {
    DaySet set;
    DayMarks marks;
};

// What finishing the day's set earned.
struct DayOutcome {
    bool markEarned = false; // the day's mark, earned now for the first time today
    QStringList passed;      // the steps passed by it, in path order
    DayMarks marks;
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
    // The same of Bairo's pairs ("lcm:6,8" with the question "6,8").
    virtual std::optional<QList<ReviewProblem>> pairReviewSet() { return std::nullopt; }
    // Whether the keying of the child playing is known from its answers
    // (fluency.h): false while it is not, when the drill may give the
    // warm-up, a set of the choice "keying" whose answers are recorded as
    // the facts "key:<number>" (keyFact()); nothing with records off or
    // while nobody is known to play.
    virtual std::optional<bool> keyingKnown() { return std::nullopt; }
    // The day's practice of the child playing, and its marks: nothing with
    // records off or while nobody is known to play.
    virtual std::optional<DayPage> dayPage() { return std::nullopt; }
    // After the day's set ended (setEnded written first): whether it earned
    // the day's mark and which steps it passed; nothing with records off.
    virtual std::optional<DayOutcome> dayFinished() { return std::nullopt; }
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
