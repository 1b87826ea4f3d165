// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/model/fluency.h"

#include <QStringList>
#include <QStringView>

#include <algorithm>

namespace common::records {

namespace {

// A fact's two whole operands and its operator, or none for a decimal, a
// remainder or anything but two whole numbers around one sign.
struct Operands {
    QChar sign;
    int a = 0, b = 0;
};

std::optional<Operands> operandsOf(const QString& fact)
{
    const qsizetype colon = fact.indexOf(u':');
    const QStringView head = QStringView(fact).left(colon);
    const QChar sign = head == u"mul"   ? u'x'
                       : head == u"div" ? u'/'
                       : head == u"add" ? u'+'
                       : head == u"sub" ? u'-'
                                        : QChar();
    if (sign.isNull()) return std::nullopt;
    const QStringView body = QStringView(fact).mid(colon + 1);
    const qsizetype at = body.indexOf(sign);
    const auto whole = [](QStringView digits, int& n) {
        if (digits.isEmpty() || digits.size() > 4) return false;
        n = 0;
        for (const QChar c : digits) {
            if (!c.isDigit()) return false;
            n = n * 10 + c.digitValue();
        }
        return true;
    };
    Operands o{sign};
    if (at <= 0 || !whole(body.left(at), o.a) || !whole(body.mid(at + 1), o.b)) return std::nullopt;
    return o;
}

// The value a `share` of the way up the sorted list.
int atShare(QList<int> values, double share)
{
    std::sort(values.begin(), values.end());
    return values.at(qsizetype(share * double(values.size() - 1)));
}

int keys(const QString& answer)
{
    return int(answer.size()) + 1; // its characters and Return
}

} // namespace

bool isRecallFact(const QString& fact)
{
    const std::optional<Operands> o = operandsOf(fact);
    if (!o) return false;
    switch (o->sign.unicode()) {
    case u'x': return o->a <= 9 && o->b <= 9;
    case u'/': return o->b >= 1 && o->b <= 9 && o->a % o->b == 0 && o->a / o->b <= 9;
    case u'+': return o->a + o->b <= 20;
    case u'-': return o->a <= 20 && o->b <= o->a;
    }
    return false;
}

bool answerInQuestion(const QString& fact)
{
    if (isKeyingFact(fact)) return true;
    const std::optional<Operands> o = operandsOf(fact);
    if (!o) return false;
    switch (o->sign.unicode()) {
    case u'x': return o->a == 1 || o->b == 1;
    case u'/': return o->b == 1;
    case u'+': return o->a == 0 || o->b == 0;
    case u'-': return o->b == 0;
    }
    return false;
}

std::optional<int> keyMs(const QList<TimedAnswer>& rightFirstTries)
{
    QList<int> typed, recalled;
    for (const TimedAnswer& t : rightFirstTries) {
        if (t.elapsedMs <= 0 || t.answer.isEmpty()) continue;
        const int perKey = int(t.elapsedMs / keys(t.answer));
        if (answerInQuestion(t.fact))
            typed.append(perKey);
        else if (isRecallFact(t.fact))
            recalled.append(perKey);
    }
    // Reading a number and typing it is nearly all keying; the quickest
    // recalled answers still hold a moment of recall, so only their very
    // quickest are taken.
    if (typed.size() >= 3) return atShare(typed, 0.25);
    if (recalled.size() >= 20) return atShare(recalled, 0.1);
    return std::nullopt;
}

int limitMs(int baseMs, int keyMs, const QString& answer) { return baseMs + keyMs * keys(answer); }

QString withRightTime(const QString& latestTimes, qint64 elapsedMs)
{
    QList<qint64> times = parseRightTimes(latestTimes);
    times.prepend(std::max<qint64>(elapsedMs, 0));
    QStringList parts;
    for (const qint64 ms : times.first(std::min<qsizetype>(times.size(), kTimedRightTries)))
        parts << QString::number(ms);
    return parts.join(u' ');
}

QList<qint64> parseRightTimes(const QString& latestTimes)
{
    QList<qint64> times;
    for (const QStringView part : QStringView(latestTimes).split(u' ', Qt::SkipEmptyParts)) {
        bool ok = false;
        const qint64 ms = part.toLongLong(&ok);
        if (ok) times.append(ms);
    }
    return times;
}

std::optional<qint64> usualMs(const QList<qint64>& rightTimes)
{
    if (rightTimes.isEmpty()) return std::nullopt;
    QList<qint64> sorted = rightTimes;
    std::sort(sorted.begin(), sorted.end());
    return sorted.at((sorted.size() - 1) / 2);
}

QString keyFact(int number) { return QStringLiteral("key:") + QString::number(number); }

bool isKeyingFact(const QString& fact) { return fact.startsWith(u"key:"); }

std::optional<int> Pace::limitFor(const QString& answer) const
{
    if (!keyMs) return std::nullopt;
    return limitMs(baseMs, *keyMs, answer);
}

int baseLimitStep(int ms)
{
    return std::find(kBaseLimitSteps.begin(), kBaseLimitSteps.end(), ms) != kBaseLimitSteps.end()
               ? ms
               : kDefaultBaseLimitMs;
}

FactState fluentState(FactState accuracy, const MasteryRule& rule, const QString& fact,
                      const QString& rightAnswer, const QList<qint64>& rightTimes, const Pace& pace)
{
    if (accuracy != FactState::kMastered || !rule.timed || !isRecallFact(fact)) return accuracy;
    const std::optional<int> limit = pace.limitFor(rightAnswer);
    return limit && isSlow(rightTimes, *limit) ? FactState::kSlow : accuracy;
}

bool isSlow(const QList<qint64>& rightTimes, int limitMs)
{
    const std::optional<qint64> usual = usualMs(rightTimes);
    return usual && *usual > limitMs;
}

} // namespace common::records
