#include "numira/core/value1.h"

#include <algorithm>

namespace numira {

bool UsedPairs::contains(qint32 first, qint32 second, int upTo) const
{
    for (int k = 1; k <= upTo && k < kSlotCount; ++k)
        if (m_entries[k].first == first && m_entries[k].second == second) return true;
    return false;
}

void ShuffleSlots(ProblemStore& store, RandomSource& random)
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

QString DecimalText(qint64 value, int fractionDigits)
{
    qint64 scale = 1;
    for (int d = 0; d < fractionDigits; ++d) scale *= 10;
    QString text = QString::number(value / scale);
    qint64 fraction = value % scale;
    if (fraction == 0) return text;
    int digits = fractionDigits;
    while (fraction % 10 == 0) {
        fraction /= 10;
        --digits;
    }
    return text + u'.' + QString::number(fraction).rightJustified(digits, u'0');
}

bool BeginGeneration(int number, int lastType, UsedPairs& used, RandomSource& random)
{
    if (number < 0) return false;
    random.reseedFromClock();
    used.reset();
    return number <= lastType;
}

void FinishGeneration(ProblemStore& store) { store.countText() = QString::number(store.count); }

} // namespace numira
