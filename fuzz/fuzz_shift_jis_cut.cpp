// SPDX-License-Identifier: GPL-3.0-or-later
// The Shift-JIS short-string cut that keeps problem and title texts within
// their widths. Input: one byte whose low six bits are the width ("O" is 15,
// "h" is 40, "D" is 4), then the text as UTF-8;
// the same bytes are also cut as raw, possibly broken, Shift-JIS.
//
// Properties, for the Shift-JIS of a real text:
// - the cut is at most the width, and it is the start of the bytes;
// - the cut never splits a double-byte character: decoded, it is the start of
//   the decoded whole text, and its own width is at most the width;
// - the cut loses at most one byte beyond the width (half of a character that
//   would not fit), and nothing when the whole text fits;
// - ShortString<15> and ShortString<40> keep exactly that cut.
// For raw bytes: at most the width, the start of the bytes, at most one byte
// short of the width.
#include "common/short_string.h"
#include "fuzz/fuzz_check.h"

#include <cstdint>

using common::cutShiftJis;
using common::fromShiftJis;
using common::shiftJisWidth;
using common::ShortString;
using common::toShiftJis;
using fuzz::show;

namespace {

void checkCut(const QByteArray& bytes, int width)
{
    const QByteArray cut = cutShiftJis(bytes, width);
    FUZZ_CHECK(cut.size() <= width, "cut of %lld bytes to %d keeps %lld", (long long)bytes.size(),
               width, (long long)cut.size());
    FUZZ_CHECK(bytes.startsWith(cut), "cut of %s to %d is not its start", bytes.toHex().constData(),
               width);
    const qsizetype fitting = std::min<qsizetype>(bytes.size(), width);
    FUZZ_CHECK(cut.size() >= fitting - 1, "cut of %s to %d keeps only %lld bytes",
               bytes.toHex().constData(), width, (long long)cut.size());
}

void checkText(const QString& text, int width)
{
    const QByteArray bytes = toShiftJis(text);
    const QString whole = fromShiftJis(bytes);
    checkCut(bytes, width);

    const QByteArray cut = cutShiftJis(bytes, width);
    const QString kept = fromShiftJis(cut);
    FUZZ_CHECK(whole.startsWith(kept), "cut of %s to %d reads %s, not a start of %s",
               bytes.toHex().constData(), width, show(kept).constData(), show(whole).constData());
    FUZZ_CHECK(shiftJisWidth(kept) <= width, "cut of %s to %d reads %s, %d bytes wide",
               bytes.toHex().constData(), width, show(kept).constData(), shiftJisWidth(kept));
    if (bytes.size() <= width)
        FUZZ_CHECK(cut == bytes, "%s fits in %d but is cut", bytes.toHex().constData(), width);

    ShortString<15> problem(text);
    FUZZ_CHECK(problem.bytes() == cutShiftJis(bytes, 15), "ShortString<15> of %s keeps %s",
               show(text).constData(), problem.bytes().toHex().constData());
    FUZZ_CHECK(whole.startsWith(problem.text()), "ShortString<15> of %s reads %s",
               show(text).constData(), show(problem.text()).constData());
    ShortString<40> title;
    title = text;
    FUZZ_CHECK(title.bytes() == cutShiftJis(bytes, 40) && title.size() <= 40,
               "ShortString<40> of %s keeps %s", show(text).constData(),
               title.bytes().toHex().constData());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const int width = data[0] & 63;
    const QByteArray rest(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    checkText(QString::fromUtf8(rest), width);
    checkCut(rest, width);
    FUZZ_CHECK(cutShiftJis(rest, -width).isEmpty(), "a cut to %d is not empty", -width);
    return 0;
}
