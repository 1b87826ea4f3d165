#pragma once
#include <QFont>
#include <QString>

namespace common {

// Maps the Japanese font names the windows and worksheets are designed with
// ("ＭＳ ゴシック", "ＭＳ 明朝", "ＭＳゴシック", "ＭＳ Ｐゴシック", "System") to
// the metric-compatible IPA fonts. Safe to call more than once.
void installJapaneseFonts();

// A font for the designed name at the given pixel size, naming the first
// installed stand-in of the mapping above directly (or the designed family
// itself, where a machine has it). A family unknown to the font database
// makes Qt ask the system for fallbacks for every script of every text, which
// costs more than building the rest of a window.
QFont designedFont(const QString& name, int pixels, bool bold = false);

} // namespace common
