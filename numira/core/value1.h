#pragma once

// The state shared by the whole of Numira: the current problem set, the
// child's choice, the fixed number of problems, and the helpers every
// generator family uses (duplicate table, slot shuffle, decimal texts).

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
inline constexpr int kMaxProblems = 100;

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

enum Category : qint32 {
    kAddition = 0,
    kSubtraction = 1,
    kMultiplication = 2,
    kDivision = 3,
    kMultiplicationTable = 4,
};

struct TableRowSelection {
    std::array<qint32, 9> rows{}; // row 1..9: -1 chosen, 0 not
    qint32 lowestMultiplier = 0;  // 0 with "include 0", else 1
    int chosenRows() const
    {
        int n = 0;
        for (qint32 r : rows) n += r != 0;
        return n;
    }
};

struct ChoiceRecord {
    qint32 ProblemCategory = 0;
    qint32 ProblemNumber = 0;
    TableRowSelection tableRowSelection;
};

// The child's fixed number of problems.
struct FixedNumber {
    bool CountIsFixed = false;
    qint32 FixedCount = 0;
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
    std::pair<qint32, qint32> entry(int n) const { return m_entries.at(n); }

private:
    std::array<std::pair<qint32, qint32>, kSlotCount> m_entries;
};

// Exactly `count` random swaps of slots 1..count, after a re-seeding; the
// header slot never moves.
void ShuffleSlots(ProblemStore& store, RandomSource& random);

// A problem or answer text built in a short fixed buffer, directly as the
// Shift-JIS bytes a slot keeps (digits, signs and the point are one byte
// each), so that a whole set is written without converters or allocations.
// Every generator family writes its texts with it.
class TextBuffer {
public:
    TextBuffer& whole(qint64 value);
    // The form of DecimalText: the whole part, then "." and the fraction
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
QString DecimalText(qint64 value, int fractionDigits);

// Steps 1 and 2 of every numbered generator: false (and nothing done) for a
// negative number; otherwise re-seed and clear the family's pairs, then say
// whether `number` names one of the family's types (0..lastType).
bool BeginGeneration(int number, int lastType, UsedPairs& used, RandomSource& random);

// Step 5 of every generator: the set size into the header slot.
void FinishGeneration(ProblemStore& store);

// The drawing loop of the random types: asks `draw` for candidate pairs (it
// returns false when its acceptance test fails), refuses an ordered pair
// already drawn for this set, and hands each new pair to `write` with its
// slot number, until `setSize` slots are written.
template <typename Draw, typename Write>
void DrawDistinctPairs(ProblemStore& store, UsedPairs& used, int setSize, Draw draw, Write write)
{
    store.count = setSize;
    int n = 1;
    while (n <= setSize) {
        qint32 first = 0, second = 0;
        if (!draw(first, second)) continue;
        if (used.contains(first, second, n)) continue;
        used.store(n, first, second);
        write(n, first, second);
        ++n;
    }
}

} // namespace numira

namespace numira {

// Everything that lives as long as the program and is shared between the
// windows: the set, the choice that made it, the fixed number of problems.
struct SharedState {
    ProblemStore store;
    ChoiceRecord choice;
    FixedNumber fixed;
};

} // namespace numira
