// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/short_string.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace common {

namespace {
bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
} // namespace

QByteArray toShiftJis(QStringView text)
{
    // Digits, signs and points are most of what is stored: ASCII is the same
    // bytes in Shift-JIS, and needs no converter.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toLatin1();
    QStringEncoder encoder("Shift_JIS");
    return encoder.encode(text);
}

QString fromShiftJis(const QByteArray& bytes)
{
    QStringDecoder decoder("Shift_JIS");
    return decoder.decode(bytes);
}

int shiftJisWidth(QStringView text) { return static_cast<int>(toShiftJis(text).size()); }

QByteArray cutShiftJis(const QByteArray& bytes, int maxBytes)
{
    if (maxBytes <= 0) return {};
    if (bytes.size() <= maxBytes) return bytes;
    int end = 0;
    while (end < bytes.size()) {
        const int width = isLeadByte(static_cast<unsigned char>(bytes[end])) ? 2 : 1;
        if (end + width > maxBytes) break;
        end += width;
    }
    return bytes.left(end);
}

} // namespace common
