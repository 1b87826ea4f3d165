// SPDX-License-Identifier: GPL-3.0-or-later
// The whole-number reading of both programs' input boxes (Numira's fixed
// number of problems, Bairo's set size). Input: the typed text as UTF-8.
//
// Properties:
// - a value comes back exactly when the text is blanks, an optional sign,
//   ASCII digits and blanks (checked by a regular expression);
// - the value is the number saturated to the 32-bit range (checked with
//   std::from_chars on 64 bits, leading zeros dropped);
// - the value read from a number's own text is that number, for every 32-bit
//   value, also with blanks around it and a plus sign.
#include "common/whole_number.h"
#include "fuzz/fuzz_check.h"

#include <QRegularExpression>

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

using common::parseWholeNumber;
using fuzz::show;

namespace {

void checkReading(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("\\A[ \\t]*([+-]?)([0-9]+)[ \\t]*\\z"));
    const QRegularExpressionMatch match = form.match(text);
    const std::optional<int> read = parseWholeNumber(text);
    FUZZ_CHECK(read.has_value() == match.hasMatch(), "%s gives %s", show(text).constData(),
               read ? "a value" : "nothing");
    if (!read) return;

    std::string digits = match.captured(2).toStdString();
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
    const bool negative = match.captured(1) == QStringLiteral("-");
    std::int64_t magnitude = std::numeric_limits<std::int64_t>::max();
    if (digits.size() <= 18)
        std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    const std::int64_t value = negative ? -magnitude : magnitude;
    const std::int64_t expected = std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                           std::numeric_limits<int>::max());
    FUZZ_CHECK(*read == expected, "%s reads %d, not %lld", show(text).constData(), *read,
               (long long)expected);
}

void checkOwnText(int n)
{
    const QString text = QString::number(n);
    QStringList variants{text, QStringLiteral(" \t") + text + QStringLiteral("  ")};
    if (n >= 0) variants << QStringLiteral("+") + text;
    for (const QString& variant : variants) {
        const std::optional<int> read = parseWholeNumber(variant);
        fuzz::checkReadsOwnText(variant, read, n);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::checkIntReader(data, size, parseWholeNumber, checkReading, checkOwnText);
    return 0;
}
