// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>

namespace common {

// Texts of problem sets are kept as Shift-JIS (CP932) bytes of a fixed
// maximum width, as the worksheets and the drill have always measured them.
QByteArray toShiftJis(QStringView text);
QString fromShiftJis(const QByteArray& bytes);
// Width of a text in Shift-JIS bytes ("÷" and kana count 2).
int shiftJisWidth(QStringView text);
// The longest prefix of at most maxBytes bytes that ends on a character
// boundary: a double-byte character is never split.
QByteArray cutShiftJis(const QByteArray& bytes, int maxBytes);

// A length byte and at most N bytes of Shift-JIS text; a longer text is cut
// to N bytes when stored.
template <int N> class ShortString {
    static_assert(N > 0 && N < 256);

public:
    ShortString() = default;
    ShortString(QStringView text) { assign(text); }
    ShortString& operator=(QStringView text)
    {
        assign(text);
        return *this;
    }
    ShortString& operator=(const QString& text) { return *this = QStringView(text); }
    ShortString& operator=(const char16_t* text) { return *this = QStringView(text); }

    void assign(QStringView text) { assignBytes(toShiftJis(text)); }
    void assignBytes(const QByteArray& raw)
    {
        const QByteArray cut = cutShiftJis(raw, N);
        m_length = static_cast<std::uint8_t>(cut.size());
        std::copy(cut.begin(), cut.end(), m_bytes.begin());
    }

    int size() const { return m_length; }
    bool isEmpty() const { return m_length == 0; }
    QByteArray bytes() const { return QByteArray(m_bytes.data(), m_length); }
    QString text() const { return fromShiftJis(bytes()); }

    friend bool operator==(const ShortString& a, const ShortString& b)
    {
        return a.m_length == b.m_length &&
               std::equal(a.m_bytes.begin(), a.m_bytes.begin() + a.m_length, b.m_bytes.begin());
    }

private:
    std::uint8_t m_length = 0;
    std::array<char, N> m_bytes{};
};

} // namespace common
