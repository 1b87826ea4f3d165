// SPDX-License-Identifier: GPL-3.0-or-later
#include "numira/core/judge.h"

#include "common/whole_number.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>

namespace numira {

namespace {

using common::isTypedBlank;
using common::isTypedDigit;

qsizetype skipBlanks(QStringView text, qsizetype i)
{
    while (i < text.size() && isTypedBlank(text[i])) ++i;
    return i;
}

// The power of ten of the first significant digit of a number collected by
// readDecimal ("123.45e-6" gives -4). Where it is used only its sign matters,
// so a huge exponent is capped: far beyond any number's count of digits, and
// far from the 64-bit limit.
constexpr std::int64_t kExponentCap = 1'000'000'000;

std::int64_t decimalOrder(const std::string& number)
{
    const std::size_t e = std::min(number.find('e'), number.size());
    const std::size_t point = std::min(number.find('.'), e);
    const std::size_t first = number.find_first_of("123456789");
    if (first >= e) return 0; // all zeros
    const std::int64_t order =
        first < point ? std::int64_t(point - first) - 1 : -std::int64_t(first - point);
    std::int64_t exponent = 0;
    for (std::size_t i = e + 1; i < number.size(); ++i)
        if (number[i] >= '0' && number[i] <= '9' && exponent < kExponentCap)
            exponent = exponent * 10 + (number[i] - '0');
    return order + (e + 1 < number.size() && number[e + 1] == '-' ? -exponent : exponent);
}

} // namespace

bool isBlankAnswer(QStringView text) { return skipBlanks(text, 0) == text.size(); }

double readDecimal(QStringView text)
{
    qsizetype i = skipBlanks(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';

    // Collect the longest prefix in the number's form as plain ASCII.
    std::string number;
    qsizetype intDigits = 0, fracDigits = 0;
    while (i < text.size() && isTypedDigit(text[i]))
        number += char(text[i++].unicode()), ++intDigits;
    if (i < text.size() && text[i] == u'.') {
        qsizetype j = i + 1;
        std::string fraction = ".";
        while (j < text.size() && isTypedDigit(text[j]))
            fraction += char(text[j++].unicode()), ++fracDigits;
        if (intDigits + fracDigits > 0) {
            number += fraction;
            i = j;
        }
    }
    if (intDigits + fracDigits == 0) return 0.0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-'))
            exponent += char(text[j++].unicode());
        const qsizetype digitsStart = j;
        while (j < text.size() && isTypedDigit(text[j])) exponent += char(text[j++].unicode());
        if (j > digitsStart) number += exponent; // an exponent needs at least one digit
    }

    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Far beyond any answer: overflow to infinity, underflow to zero, told
        // apart by the number's size (a negative exponent alone does not say:
        // "1000...0e-10" overflows, "0.000...01" underflows).
        const bool tiny = decimalOrder(number) < 0;
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

std::int64_t readWhole(QStringView text)
{
    const common::LeadingWhole number = common::scanLeadingWhole(text);
    // Saturates at the largest value: a longer number never reads smaller.
    const auto value = static_cast<std::int64_t>(
        common::saturatedValue(number.digits, std::numeric_limits<std::int64_t>::max()));
    return number.negative ? -value : value;
}

bool judgeAnswer(QStringView stored, QStringView typed, bool hasRemainder)
{
    if (!hasRemainder) return readDecimal(stored) == readDecimal(typed);

    static constexpr QStringView kDots = u"...";
    auto split = [](QStringView text, std::int64_t& quotient, std::int64_t& remainder) {
        const qsizetype at = text.indexOf(kDots);
        if (at < 0) {
            quotient = readWhole(text);
            remainder = 0;
        } else {
            quotient = readWhole(text.left(at));
            remainder = readWhole(text.mid(at + kDots.size()));
        }
    };
    std::int64_t storedQuotient, storedRemainder, typedQuotient, typedRemainder;
    split(stored, storedQuotient, storedRemainder);
    split(typed, typedQuotient, typedRemainder);
    return storedQuotient == typedQuotient && storedRemainder == typedRemainder;
}

} // namespace numira
