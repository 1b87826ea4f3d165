// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

#include <cstdint>

namespace numira {

// Reading typed and stored answers as numbers. Leading and trailing blanks
// are skipped; where the reading stops before the end of the text, the value
// read so far counts, with its sign and its fraction. Text that does not
// begin with a number reads as 0.

// A decimal number: sign, digits, an optional point and fraction, an
// optional exponent; correctly rounded to double precision.
double readDecimal(QStringView text);
// A whole number: sign and decimal digits (saturating far beyond any answer).
std::int64_t readWhole(QStringView text);
// Whether the text holds nothing but blanks: such an answer is not judged.
bool isBlankAnswer(QStringView text);

// Judges a typed answer against the stored one, as numbers: as decimals, or
// as quotient "..." remainder. A typed text without "..." is the quotient,
// with remainder 0.
bool judgeAnswer(QStringView stored, QStringView typed, bool hasRemainder);

} // namespace numira
