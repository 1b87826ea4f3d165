// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

#include <cstdint>
#include <optional>

namespace common {

// Blanks in typed numbers: space and tab.
inline bool isTypedBlank(QChar c) { return c == u' ' || c == u'\t'; }
inline bool isTypedDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The whole number at the start of a typed text: blanks, an optional sign,
// then a run of ASCII digits (perhaps none). Each program reads its answers
// with its own rules on top of this.
struct LeadingWhole {
    bool negative = false;
    QStringView digits;
    qsizetype end = 0; // just past the digits
};
LeadingWhole scanLeadingWhole(QStringView text);

// The value of a run of digits, saturated at max: a longer number never reads
// smaller than a shorter one.
std::uint64_t saturatedValue(QStringView digits, std::uint64_t max);

// A whole decimal number typed into an input box: leading and trailing blanks
// and a sign are allowed, nothing else. Values beyond the 32-bit range are
// saturated. No value when the text is not such a number.
std::optional<int> parseWholeNumber(QStringView text);

} // namespace common
