#pragma once

namespace common {

// Maps the Japanese font names the windows and worksheets are designed with
// ("ＭＳ ゴシック", "ＭＳ 明朝", "ＭＳゴシック", "ＭＳ Ｐゴシック", "System") to
// the metric-compatible IPA fonts. Safe to call more than once.
void installJapaneseFonts();

} // namespace common
