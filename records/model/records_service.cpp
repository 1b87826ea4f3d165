// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/model/records_service.h"

namespace common {

namespace {

class NullRecords final : public RecordsService {
public:
    void setStarted(const SetRecord&) override {}
    void answered(const AnswerRecord&) override {}
    void setEnded(int) override {}
};

} // namespace

RecordsService& nullRecords()
{
    static NullRecords none;
    return none;
}

void AnswerLog::setStarted(const QString& program, const QString& choice, int count)
{
    m_records.setStarted({program, choice, count, {}});
    problemShown();
}

void AnswerLog::problemShown()
{
    m_shown.start();
    m_attempts = 0;
}

void AnswerLog::answered(int position, const QString& fact, const QString& rightAnswer,
                         const QString& typed, bool correct, bool answerShown, const QString& hint)
{
    AnswerRecord a;
    a.position = position;
    a.fact = fact;
    a.rightAnswer = rightAnswer;
    a.typed = typed;
    a.attempt = ++m_attempts;
    a.correct = correct;
    a.answerShown = answerShown;
    a.hint = hint;
    a.elapsedMs = m_shown.isValid() ? m_shown.elapsed() : 0;
    a.answeredAt = QDateTime::currentDateTimeUtc();
    m_records.answered(a);
}

} // namespace common
