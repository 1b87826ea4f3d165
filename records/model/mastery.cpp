// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/model/mastery.h"

#include <QVarLengthArray>

#include <algorithm>

namespace common::records {

namespace {

constexpr int kTopBox = 5;

} // namespace

FactState factState(const QList<FirstTry>& latest, const QDateTime& lastMissed,
                    const MasteryRule& rule, const QDateTime& now)
{
    if (latest.isEmpty()) return FactState::kNotSeen;
    bool mastered = latest.size() >= rule.lastAnswers;
    if (mastered) {
        int right = 0;
        QVarLengthArray<qint64, 16> days;
        for (const FirstTry& t : latest.first(rule.lastAnswers)) {
            right += t.right ? 1 : 0;
            if (!days.contains(t.day.toJulianDay())) days.append(t.day.toJulianDay());
        }
        mastered = right >= rule.rightNeeded && days.size() >= rule.daysNeeded;
    }
    // In UTC: a local time would look the time zone up again for every fact.
    const bool missedLately =
        lastMissed.isValid() && lastMissed > now.toUTC().addDays(-rule.missedWithinDays);
    // The rule lets a mastered fact carry a miss among its last tries; such a
    // miss makes it にがて only while it is the latest first try, so that a
    // child who got it right again the next time sees it mastered.
    if (missedLately && (!mastered || !latest.first().right)) return FactState::kRecentlyMissed;
    return mastered ? FactState::kMastered : FactState::kLearning;
}

int nextBox(int box, bool rightFirst)
{
    if (!rightFirst) return 1;
    return std::min(std::max(box, 1) + 1, kTopBox);
}

QDate dueDay(int box, const QDate& answered)
{
    return answered.addDays(qint64{1} << (std::clamp(box, 1, kTopBox) - 1));
}

QString stateWord(FactState state)
{
    switch (state) {
    case FactState::kMastered: return QStringLiteral("できた");
    case FactState::kSlow: return QStringLiteral("ゆっくり");
    case FactState::kLearning: return QStringLiteral("れんしゅう中");
    case FactState::kRecentlyMissed: return QStringLiteral("にがて");
    case FactState::kNotSeen: break;
    }
    return QStringLiteral("まだ");
}

} // namespace common::records
