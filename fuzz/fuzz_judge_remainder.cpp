// SPDX-License-Identifier: GPL-3.0-or-later
// Numira's answer judge in its remainder form ("quotient...remainder"), and
// the whole-number reading under it. Input: "stored\ntyped" as UTF-8
// (without a newline, both are the same text).
//
// Properties:
// - readWhole agrees with std::from_chars on the digits after the blanks and
//   the sign, saturated to the largest 64-bit value where they do not fit;
// - the value read from a number's own text is that number, for every 64-bit
//   value (the lowest one has no positive counterpart and is left out);
// - the judge is reflexive and symmetric; "q...r" is right against itself
//   written with blanks and leading zeros, wrong against "q...r+1", and
//   "q...0" is right against "q" alone.
#include "fuzz/fuzz_check.h"
#include "numira/core/judge.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

using fuzz::show;
using numira::judgeAnswer;
using numira::readWhole;

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

void checkReading(const QString& text)
{
    // Blanks, a sign, then the digits: their magnitude read with from_chars,
    // or the largest 64-bit value where it does not fit.
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    std::string digits;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        digits += char(text[i].unicode());
    std::int64_t magnitude = 0;
    if (!digits.empty()) {
        const auto result =
            std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
        if (result.ec == std::errc::result_out_of_range) magnitude = kMax;
    }
    const std::int64_t expected = negative ? -magnitude : magnitude;
    const std::int64_t read = readWhole(text);
    FUZZ_CHECK(read == expected, "%s reads %lld, not %lld", show(text).constData(), (long long)read,
               (long long)expected);
}

std::uint64_t takeWord(const std::uint8_t* data, std::size_t size, std::size_t at)
{
    std::uint64_t word = 0;
    if (at < size && data) std::memcpy(&word, data + at, std::min<std::size_t>(8, size - at));
    return word;
}

void checkOwnText(std::int64_t n)
{
    if (n == std::numeric_limits<std::int64_t>::min()) return;
    const QString text = QString::number(n);
    FUZZ_CHECK(readWhole(text) == n, "%s reads %lld", show(text).constData(),
               (long long)readWhole(text));
    const QString padded = QStringLiteral("  ") + text + QStringLiteral("\tx");
    FUZZ_CHECK(readWhole(padded) == n, "%s reads %lld", show(padded).constData(),
               (long long)readWhole(padded));
}

void checkRemainderPair(std::int64_t q, std::int64_t r)
{
    const QString stored = QString::number(q) + QStringLiteral("...") + QString::number(r);
    const QString spaced = QStringLiteral(" 0") + QString::number(q) + QStringLiteral(" ... 00") +
                           QString::number(r) + QStringLiteral(" ");
    FUZZ_CHECK(judgeAnswer(stored, spaced, true), "%s is wrong against %s",
               show(spaced).constData(), show(stored).constData());
    if (r < kMax) {
        const QString next = QString::number(q) + QStringLiteral("...") + QString::number(r + 1);
        FUZZ_CHECK(!judgeAnswer(stored, next, true), "%s is right against %s",
                   show(next).constData(), show(stored).constData());
    }
    const QString noRemainder = QString::number(q) + QStringLiteral("...0");
    FUZZ_CHECK(judgeAnswer(noRemainder, QString::number(q), true), "%lld alone is wrong against %s",
               (long long)q, show(noRemainder).constData());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto [bytes, stored, typed] = fuzz::readStoredTyped(data, size, checkReading);

    FUZZ_CHECK(judgeAnswer(stored, stored, true), "%s is wrong against itself",
               show(stored).constData());
    FUZZ_CHECK(judgeAnswer(stored, typed, true) == judgeAnswer(typed, stored, true),
               "the judge is not symmetric for %s, %s", show(stored).constData(),
               show(typed).constData());

    // Values taken from the input's bytes as well as from its text.
    const std::int64_t a = std::int64_t(takeWord(data, size, 0));
    const std::int64_t b = std::int64_t(takeWord(data, size, 8));
    checkOwnText(a);
    checkOwnText(b);
    checkOwnText(readWhole(stored));
    // Quotient and remainder as the problems have them: not negative.
    checkRemainderPair(a < 0 ? -(a + 1) : a, b < 0 ? -(b + 1) : b);
    return 0;
}
