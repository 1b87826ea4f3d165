// SPDX-License-Identifier: GPL-3.0-or-later
// Numira's answer judge in its decimal form, and the decimal reading under it.
// Input: "stored\ntyped" as UTF-8 (without a newline, both are the same text).
//
// Properties:
// - readDecimal agrees with the C library's correctly rounded strtod on the
//   same text, once every character outside the number's alphabet is made a
//   stop (strtod would read "inf", "nan" and hex numbers, which are not answers);
// - the judge is reflexive, symmetric, and says "right" exactly when both
//   texts read as the same number; blanks around a text change nothing;
// - the value read from a number's own text is that number: for a value v and
//   1..3 fraction digits, decimalText(v, d) reads as v / 10^d correctly rounded,
//   as std::from_chars reads the same text; a neighbouring value is wrong;
// - a text of blanks only is a blank answer, and nothing else is.
#include "fuzz/fuzz_check.h"
#include "numira/core/judge.h"
#include "numira/core/problem_store.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <string>

using fuzz::show;
using numira::decimalText;
using numira::isBlankAnswer;
using numira::judgeAnswer;
using numira::readDecimal;

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// The text as the C library should see it: blanks, digits, '.', 'e', 'E', '+'
// and '-' kept, anything else a '#' where reading must stop. strtod runs in
// the "C" locale here (nothing calls setlocale), so its point is '.'.
double referenceDecimal(const QString& text)
{
    std::string ascii;
    ascii.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const bool kept = (u >= u'0' && u <= u'9') || u == u'.' || u == u'e' || u == u'E' ||
                          u == u'+' || u == u'-' || u == u' ' || u == u'\t';
        ascii += kept ? char(u) : '#';
    }
    return std::strtod(ascii.c_str(), nullptr);
}

void checkReading(const QString& text)
{
    const double read = readDecimal(text);
    const double expected = referenceDecimal(text);
    FUZZ_CHECK(read == expected, "text %s reads %.17g, strtod %.17g", show(text).constData(), read,
               expected);
    const QString padded = QStringLiteral(" \t") + text + QStringLiteral("\t ");
    FUZZ_CHECK(readDecimal(padded) == read, "blanks around %s change its reading",
               show(text).constData());

    bool onlyBlanks = true;
    for (QChar c : text) onlyBlanks = onlyBlanks && isBlank(c);
    FUZZ_CHECK(isBlankAnswer(text) == onlyBlanks, "isBlankAnswer(%s) is %d", show(text).constData(),
               int(isBlankAnswer(text)));
}

// A value and a number of fraction digits drawn from the input: its decimal
// digits in order (at most 16) and the count of its other characters.
void checkOwnText(const QByteArray& data)
{
    std::uint64_t digits = 0;
    int taken = 0, others = 0;
    for (char c : data) {
        if (c >= '0' && c <= '9') {
            if (taken < 16) digits = digits * 10 + std::uint64_t(c - '0'), ++taken;
        } else {
            ++others;
        }
    }
    // Below 2^53 the value and 10^d are exact doubles, so their quotient is
    // the correctly rounded value of the decimal text.
    const std::int64_t v = std::int64_t(digits % (std::uint64_t(1) << 53));
    const int d = others % 4;
    std::int64_t scale = 1;
    for (int k = 0; k < d; ++k) scale *= 10;

    const QString text = decimalText(v, d);
    const double read = readDecimal(text);
    const double quotient = double(v) / double(scale);
    FUZZ_CHECK(read == quotient, "decimalText(%lld, %d) = %s reads %.17g, not %.17g", (long long)v,
               d, show(text).constData(), read, quotient);

    const std::string ascii = text.toStdString();
    double parsed = -1;
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), parsed);
    FUZZ_CHECK(result.ec == std::errc() && result.ptr == ascii.data() + ascii.size() &&
                   parsed == read,
               "from_chars reads %s as %.17g, readDecimal as %.17g", ascii.c_str(), parsed, read);

    // The same number written with leading and trailing zeros is right.
    const QString zeros = QStringLiteral("00") + text +
                          (text.contains(u'.') ? QStringLiteral("00") : QStringLiteral(".00"));
    FUZZ_CHECK(judgeAnswer(text, zeros, false), "%s is judged wrong against %s",
               show(zeros).constData(), show(text).constData());
    // Below 10^12 a neighbour differs by far more than the rounding.
    if (v < 1'000'000'000'000) {
        const QString next = decimalText(v + 1, d);
        FUZZ_CHECK(!judgeAnswer(text, next, false), "%s is judged right against %s",
                   show(next).constData(), show(text).constData());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto [bytes, stored, typed] = fuzz::readStoredTyped(data, size, checkReading);

    FUZZ_CHECK(judgeAnswer(stored, stored, false), "%s is judged wrong against itself",
               show(stored).constData());
    const bool right = judgeAnswer(stored, typed, false);
    FUZZ_CHECK(right == judgeAnswer(typed, stored, false), "the judge is not symmetric for %s, %s",
               show(stored).constData(), show(typed).constData());
    FUZZ_CHECK(right == (readDecimal(stored) == readDecimal(typed)),
               "the judge says %d for %s, %s against their values", int(right),
               show(stored).constData(), show(typed).constData());
    FUZZ_CHECK(judgeAnswer(stored, QStringLiteral(" ") + stored + QStringLiteral("\t"), false),
               "blanks around %s make it wrong", show(stored).constData());

    checkOwnText(bytes);
    return 0;
}
