// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A property check for the fuzz targets: on a violation, say which property
// and with what, then abort so that libFuzzer keeps the input as a crash.

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#define FUZZ_CHECK(condition, ...)                                                                 \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "\n%s:%d: property violated: %s\n", __FILE__, __LINE__,           \
                         #condition);                                                              \
            std::fprintf(stderr, __VA_ARGS__);                                                     \
            std::fprintf(stderr, "\n");                                                            \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace fuzz {

// A text quoted for the violation message, with its UTF-16 units in hex
// where they are not printable ASCII.
inline QByteArray show(const QString& text)
{
    QByteArray out = "\"";
    for (QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F && c != u'"' && c != u'\\')
            out += char(c.unicode());
        else
            out += "\\u" + QByteArray::number(c.unicode(), 16).rightJustified(4, '0');
    }
    return out + "\"";
}

// A reading of a number's own text (or a variant of it) must give that number.
inline void checkReadsOwnText(const QString& variant, const std::optional<int>& read, int n)
{
    FUZZ_CHECK(read && *read == n, "%s reads %s%d", show(variant).constData(),
               read ? "" : "nothing, not ", read ? *read : n);
}

// Drives a reader of typed 32-bit numbers: the input checked as typed text,
// then the value read from it and the input's first four bytes checked as
// numbers whose own text is read back.
template <typename Read, typename CheckReading, typename CheckOwnText>
void checkIntReader(const std::uint8_t* data, std::size_t size, Read read,
                    CheckReading checkReading, CheckOwnText checkOwnText)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    checkReading(text);
    if (const std::optional<int> value = read(text)) checkOwnText(*value);

    std::int32_t word = 0;
    if (size > 0) std::memcpy(&word, data, std::min<std::size_t>(sizeof word, size));
    checkOwnText(word);
}

// An answer judge's input "stored\ntyped" (without a newline, both are the
// same text), each text already checked by checkReading.
struct StoredTyped {
    QByteArray bytes;
    QString stored, typed;
};
template <typename CheckReading>
StoredTyped readStoredTyped(const std::uint8_t* data, std::size_t size, CheckReading checkReading)
{
    StoredTyped in;
    in.bytes = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype newline = in.bytes.indexOf('\n');
    in.stored = QString::fromUtf8(newline < 0 ? in.bytes : in.bytes.left(newline));
    in.typed = newline < 0 ? in.stored : QString::fromUtf8(in.bytes.mid(newline + 1));
    checkReading(in.stored);
    checkReading(in.typed);
    return in;
}

} // namespace fuzz
