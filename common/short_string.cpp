#include "common/short_string.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace common {

namespace {
bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
} // namespace

QByteArray toShiftJis(QStringView text)
{
    // One encoder per call: QStringEncoder keeps conversion state.
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
