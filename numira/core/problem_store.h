// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A problem set as the drill holds it: a title, a count and 100 slots of
// question and answer texts, with the helpers every generator family writes
// it with (duplicate table, slot shuffle, decimal texts).

#include "common/drill_rules.h"
#include "common/random_source.h"
#include "common/short_string.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <utility>

namespace numira {

using common::RandomSource;

// Problem and answer texts: 15 Shift-JIS bytes.
using ProblemText = common::ShortString<15>;
// Set titles: wide enough for the longest catalogue item (40 bytes).
using TitleText = common::ShortString<40>;

struct Slot {
    ProblemText question;
    ProblemText answer;
};

inline constexpr int kSlotCount = 101; // slot 0 is the header, 1..100 problems
inline constexpr int kMaxProblems = common::kMaxProblems;

struct ProblemStore {
    TitleText title;
    qint32 count = 0;
    std::array<Slot, kSlotCount> slot{}; // "slots": the name is taken by Qt

    // The generator's own set size as text, kept in the header slot's answer.
    ProblemText& countText() { return slot[0].answer; }
    const ProblemText& countText() const { return slot[0].answer; }
    QString question(int k) const { return slot.at(k).question.text(); }
    QString answer(int k) const { return slot.at(k).answer.text(); }
    void setSlot(int k, const QString& question, const QString& answer)
    {
        slot.at(k).question = question;
        slot.at(k).answer = answer;
    }
};

// Operand pairs already drawn for the current set, entries 1..100; (-1, -1)
// is free, and no drawn operand is negative.
class UsedPairs {
public:
    UsedPairs() { reset(); }
    void reset() { m_entries.fill({-1, -1}); }
    // Whether (first, second), in this order, is among entries 1..upTo.
    bool contains(qint32 first, qint32 second, int upTo) const;
    void store(int n, qint32 first, qint32 second) { m_entries.at(n) = {first, second}; }

private:
    std::array<std::pair<qint32, qint32>, kSlotCount> m_entries;
};

// Exactly `count` random swaps of slots 1..count, after a re-seeding; the
// header slot never moves.
void shuffleSlots(ProblemStore& store, RandomSource& random);

// A problem or answer text built in a short fixed buffer, directly as the
// Shift-JIS bytes a slot keeps (digits, signs and the point are one byte
// each), so that a whole set is written without converters or allocations.
// Every generator family writes its texts with it.
class TextBuffer {
public:
    TextBuffer& whole(qint64 value);
    // The form of decimalText: the whole part, then "." and the fraction
    // digits without trailing zeros unless they are all zero.
    TextBuffer& decimal(qint64 value, int fractionDigits);
    // Every fraction digit kept, zeros included (tenths 20 give 2.0).
    TextBuffer& fixed(qint64 value, int fractionDigits);
    TextBuffer& bytes(QByteArrayView shiftJis);
    TextBuffer& bytes(char c);

    void storeIn(ProblemText& field) const;
    QByteArray toBytes() const { return QByteArray(m_bytes.data(), m_size); }

private:
    void digits(qint64 value, int width);
    std::array<char, 64> m_bytes{};
    int m_size = 0;
};

// A non-negative fixed-point value (tenths, hundredths or thousandths) as
// text: whole part always, then "." and the fraction without trailing zeros.
QString decimalText(qint64 value, int fractionDigits);

} // namespace numira
