// SPDX-License-Identifier: GPL-3.0-or-later
// Checks shared by the generator tests: reading texts back as fixed point,
// judging answers, text widths, worked examples and the generator contract.
#pragma once

#include "common/short_string.h"
#include "numira/core/catalogue.h"
#include "numira/core/judge.h"
#include "numira/core/problem_store.h"
#include "tests/support/doubles.h"

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QTest>

#include <utility>

// Runs a check helper; a failure inside ends the calling test function too.
#define GENERATOR_CHECK(call)                                                                      \
    do {                                                                                           \
        call;                                                                                      \
        if (QTest::currentTestFailed()) return;                                                    \
    } while (0)

namespace numira::generator_checks {

// Reads digits with an optional fraction as a count of 10^-places units,
// independently of decimalText; -1 when it is not such a number. Leading and
// trailing zeros are accepted.
inline qint64 scaledLoose(const QString& text, int places)
{
    static const QRegularExpression form(QStringLiteral(R"(^(\d+)(?:\.(\d+))?$)"));
    const auto m = form.match(text);
    if (!m.hasMatch() || m.captured(2).size() > places) return -1;
    qint64 value = m.captured(1).toLongLong();
    for (int d = 0; d < places; ++d) value *= 10;
    return value + m.captured(2).leftJustified(places, u'0').toLongLong();
}

// A number as written: no leading zeros, no trailing zeros after the point,
// at most `places` of them. Gives 10^-places units, or -1.
inline qint64 scaledCanonical(const QString& text, int places)
{
    static const QRegularExpression form(QStringLiteral(R"(^(0|[1-9]\d*)(?:\.(\d*[1-9]))?$)"));
    const auto m = form.match(text);
    if (!m.hasMatch() || m.captured(2).size() > places) return -1;
    return (m.captured(1) + m.captured(2).leftJustified(places, u'0')).toLongLong();
}

// The answer as the child types it is right; with its last digit changed,
// wrong.
inline bool judgedRightAndWrong(const QString& answer, bool remainder)
{
    QString changed = answer;
    changed.back() = QChar(u'0' + (changed.back().unicode() - u'0' + 1) % 10);
    return judgeAnswer(answer, answer, remainder) && !judgeAnswer(answer, changed, remainder);
}

// Hands out a seeded source's draws and records each range asked for and the
// value given.
class RecordingRandomSource final : public common::RandomSource {
public:
    explicit RecordingRandomSource(quint64 seed) : m_inner(seed) {}
    int uniform(int n) override
    {
        const int v = m_inner.uniform(n);
        draws.append({n, v});
        return v;
    }
    void reseedFromClock() override { draws.append({0, 0}); }
    QList<std::pair<int, int>> draws; // (range, value); range 0: re-seeded

private:
    test_support::SeededRandomSource m_inner;
};

// Slot k's texts are whole, never cut, and within `limit` bytes.
inline void checkWidths(const ProblemStore& store, int k, qsizetype limit)
{
    const auto& slot = store.slot[k];
    QCOMPARE(slot.question.size(), common::shiftJisWidth(store.question(k)));
    QCOMPARE(slot.answer.size(), common::shiftJisWidth(store.answer(k)));
    QVERIFY(slot.question.size() <= limit && slot.answer.size() <= limit);
}

// The count and every slot, header included, as before.
inline void checkStoreUnchanged(const ProblemStore& store, const ProblemStore& before)
{
    QCOMPARE(store.count, before.count);
    for (int k = 0; k <= 100; ++k) {
        QCOMPARE(store.question(k), before.question(k));
        QCOMPARE(store.answer(k), before.answer(k));
    }
}

// Scripted draws give slot 1; the accepted attempt (its last `attempt`
// draws) once more is refused as a repeat for slot 2.
template <typename Generate>
void checkFirstExample(Generate generate, int type, const QList<int>& draws, qsizetype attempt,
                       const QString& question, const QString& answer)
{
    test_support::ScriptedRandomSource random;
    random.pushAll(draws);
    random.pushAll(draws.mid(draws.size() - attempt));
    UsedPairs used;
    ProblemStore store;
    generate(type, store, used, random);
    QCOMPARE(store.question(1), question);
    QCOMPARE(store.answer(1), answer);
    QVERIFY(store.question(2) != question);
}

// After a set of `firstType`, a call with `number` re-seeds only when
// `reseeds`, and leaves the store as it was; the set's pairs stay unless the
// call re-seeded.
template <typename Generate>
void checkContract(Generate generate, quint64 seed, int firstType, int number, bool reseeds)
{
    test_support::SeededRandomSource random(seed);
    UsedPairs used;
    ProblemStore store;
    generate(firstType, store, used, random);
    const ProblemStore before = store;
    const int reseedsBefore = random.reseeds;
    generate(number, store, used, random);
    QCOMPARE(random.reseeds, reseedsBefore + (reseeds ? 1 : 0));
    // A re-seeding frees every entry; otherwise the set's 100 stay.
    QCOMPARE(used.contains(-1, -1, 100), reseeds);
    checkStoreUnchanged(store, before);
}

} // namespace numira::generator_checks
