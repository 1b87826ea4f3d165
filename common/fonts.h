// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QFont>
#include <QString>

#include <thread>

namespace common {

// Maps the Japanese font names the windows and worksheets are designed with
// ("ＭＳ ゴシック", "ＭＳ 明朝", "ＭＳゴシック", "ＭＳ Ｐゴシック", "System") to
// the metric-compatible IPA fonts. Safe to call more than once.
void installJapaneseFonts();

// A font for the designed name at the given pixel size, naming the first
// installed stand-in of the mapping above directly (or the designed family
// itself, where a machine has it). A family unknown to the font database
// makes Qt ask the system for fallbacks for every script of every text, which
// costs more than building the rest of a window. The font is drawn unhinted.
QFont designedFont(const QString& name, int pixels, bool bold = false);

// Reads the system's font configuration on a second thread while the
// application object is being made, so that the first text laid out does
// not wait for it: it is the largest single cost of showing a window. Does
// nothing where the font configuration library is not loaded.
class FontConfigWarmUp {
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

    // Returns once the configuration is read; call before the first font is used.
    void wait();

private:
    std::thread m_thread;
};

} // namespace common
