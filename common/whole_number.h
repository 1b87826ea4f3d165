#pragma once

#include <QStringView>

#include <optional>

namespace common {

// A whole decimal number typed into an input box: leading and trailing blanks
// and a sign are allowed, nothing else. Values beyond the 32-bit range are
// saturated. No value when the text is not such a number.
std::optional<int> ParseWholeNumber(QStringView text);

} // namespace common
