#pragma once

// A property check for the fuzz targets: on a violation, say which property
// and with what, then abort so that libFuzzer keeps the input as a crash.

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

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

} // namespace fuzz
