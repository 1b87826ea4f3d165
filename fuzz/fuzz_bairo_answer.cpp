// SPDX-License-Identifier: GPL-3.0-or-later
// Bairo's reading of a typed answer. Input: the typed text as UTF-8.
//
// Properties:
// - nothing is read exactly when the text holds nothing but white space;
// - otherwise the value is the longest start of the leading number (after
//   blanks and a sign) that fits in 32 bits, as std::from_chars reads it;
//   0 when there is no leading number;
// - the value read from a number's own text is that number, for every 32-bit
//   value, also with blanks around it and letters after it.
#include "bairo/core/drill.h"
#include "fuzz/fuzz_check.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>

using bairo::readAnswer;
using fuzz::show;

namespace {

// The longest prefix of the digits that std::from_chars reads as an int
// (with the minus sign when there is one).
int longestFittingPrefix(const std::string& sign, const std::string& digits)
{
    int value = 0;
    for (std::size_t length = 1; length <= digits.size(); ++length) {
        const std::string number = sign + digits.substr(0, length);
        int next = 0;
        const auto result = std::from_chars(number.data(), number.data() + number.size(), next);
        if (result.ec != std::errc()) break;
        value = next;
    }
    return value;
}

void checkReading(const QString& text)
{
    const std::optional<int> read = readAnswer(text);
    bool onlySpace = true;
    for (QChar c : text) onlySpace = onlySpace && c.isSpace();
    FUZZ_CHECK(read.has_value() == !onlySpace, "%s gives %s", show(text).constData(),
               read ? "a value" : "nothing");
    if (!read) return;

    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    std::string sign;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        if (text[i] == u'-') sign = "-";
        ++i;
    }
    std::string digits;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        digits += char(text[i].unicode());
    const int expected = longestFittingPrefix(sign, digits);
    FUZZ_CHECK(*read == expected, "%s reads %d, not %d", show(text).constData(), *read, expected);
}

void checkOwnText(int n)
{
    const QString text = QString::number(n);
    for (const QString& variant : {text, QStringLiteral("  ") + text + QStringLiteral("\t"),
                                   text + QStringLiteral("abc"), text + QStringLiteral("\u3000")}) {
        const std::optional<int> read = readAnswer(variant);
        fuzz::checkReadsOwnText(variant, read, n);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::checkIntReader(data, size, readAnswer, checkReading, checkOwnText);
    return 0;
}
