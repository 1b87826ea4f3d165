#include "common/whole_number.h"

#include <limits>

namespace common {

std::optional<int> ParseWholeNumber(QStringView text)
{
    qsizetype i = 0, end = text.size();
    while (i < end && (text[i] == u' ' || text[i] == u'\t')) ++i;
    while (end > i && (text[end - 1] == u' ' || text[end - 1] == u'\t')) --end;
    bool negative = false;
    if (i < end && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    if (i == end) return std::nullopt;
    long long value = 0;
    for (; i < end; ++i) {
        if (text[i] < u'0' || text[i] > u'9') return std::nullopt;
        if (value <= std::numeric_limits<int>::max()) value = value * 10 + (text[i].unicode() - u'0');
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

} // namespace common
