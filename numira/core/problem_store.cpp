// SPDX-License-Identifier: GPL-3.0-or-later
#include "numira/core/problem_store.h"

#include <algorithm>
#include <charconv>

namespace numira {

bool UsedPairs::contains(qint32 first, qint32 second, int upTo) const
{
    for (int k = 1; k <= upTo && k < kSlotCount; ++k)
        if (m_entries[k].first == first && m_entries[k].second == second) return true;
    return false;
}

void shuffleSlots(ProblemStore& store, RandomSource& random)
{
    random.reseedFromClock();
    const int count = std::min<int>(store.count, kMaxProblems);
    if (count <= 0) return;
    for (int swaps = 0; swaps < count; ++swaps) {
        const int i = random.uniform(count) + 1;
        const int j = random.uniform(count) + 1;
        std::swap(store.slot[i], store.slot[j]);
    }
}

QString decimalText(qint64 value, int fractionDigits)
{
    return QString::fromLatin1(TextBuffer().decimal(value, fractionDigits).toBytes());
}

TextBuffer& TextBuffer::whole(qint64 value)
{
    digits(value, 1);
    return *this;
}

TextBuffer& TextBuffer::decimal(qint64 value, int fractionDigits)
{
    qint64 scale = 1;
    for (int d = 0; d < fractionDigits; ++d) scale *= 10;
    digits(value / scale, 1);
    qint64 fraction = value % scale;
    if (fraction == 0) return *this;
    while (fraction % 10 == 0) {
        fraction /= 10;
        --fractionDigits;
    }
    bytes('.');
    digits(fraction, fractionDigits);
    return *this;
}

TextBuffer& TextBuffer::fixed(qint64 value, int fractionDigits)
{
    qint64 scale = 1;
    for (int d = 0; d < fractionDigits; ++d) scale *= 10;
    digits(value / scale, 1);
    if (fractionDigits > 0) {
        bytes('.');
        digits(value % scale, fractionDigits);
    }
    return *this;
}

TextBuffer& TextBuffer::bytes(QByteArrayView shiftJis)
{
    for (char c : shiftJis) bytes(c);
    return *this;
}

TextBuffer& TextBuffer::bytes(char c)
{
    if (m_size < int(m_bytes.size())) m_bytes[m_size++] = c;
    return *this;
}

void TextBuffer::storeIn(ProblemText& field) const
{
    field.assignBytes(QByteArray::fromRawData(m_bytes.data(), m_size));
}

// A non-negative value in decimal, zero-padded to at least `width` digits.
void TextBuffer::digits(qint64 value, int width)
{
    std::array<char, 20> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
    for (int pad = width - int(end - text.data()); pad > 0; --pad) bytes('0');
    for (const char* c = text.data(); c != end; ++c) bytes(*c);
}

} // namespace numira
