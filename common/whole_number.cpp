// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/whole_number.h"

#include <limits>

namespace common {

LeadingWhole scanLeadingWhole(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && isTypedBlank(text[i])) ++i;
    LeadingWhole number;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        number.negative = text[i++] == u'-';
    const qsizetype start = i;
    while (i < text.size() && isTypedDigit(text[i])) ++i;
    number.digits = text.sliced(start, i - start);
    number.end = i;
    return number;
}

std::uint64_t saturatedValue(QStringView digits, std::uint64_t max)
{
    std::uint64_t value = 0;
    for (const QChar c : digits) {
        const unsigned digit = c.unicode() - u'0';
        if (value > (max - digit) / 10) return max;
        value = value * 10 + digit;
    }
    return value;
}

std::optional<int> parseWholeNumber(QStringView text)
{
    const LeadingWhole number = scanLeadingWhole(text);
    if (number.digits.isEmpty()) return std::nullopt;
    for (qsizetype i = number.end; i < text.size(); ++i)
        if (!isTypedBlank(text[i])) return std::nullopt;
    // The negative side reaches one further than the positive.
    constexpr std::uint64_t kMax = std::numeric_limits<int>::max();
    const std::uint64_t magnitude = saturatedValue(number.digits, kMax + number.negative);
    return number.negative ? static_cast<int>(-static_cast<std::int64_t>(magnitude))
                           : static_cast<int>(magnitude);
}

} // namespace common
