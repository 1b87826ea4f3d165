// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/fonts.h"

#include <QFontDatabase>
#include <QStringList>

#include <algorithm>
#include <dlfcn.h>

namespace common {

void installJapaneseFonts()
{
    static bool done = false;
    if (done) return;
    done = true;
    const QStringList gothic{"IPAGothic", "IPAexGothic", "Noto Sans CJK JP", "DejaVu Sans"};
    const QStringList pgothic{"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "DejaVu Sans"};
    const QStringList mincho{"IPAMincho", "IPAexMincho", "Noto Serif CJK JP", "DejaVu Serif"};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ 明朝"), mincho);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), pgothic);
    // The window font shares the gothic face: one font file fewer to open at start.
    QFont::insertSubstitutions(QStringLiteral("System"), gothic);
}

QFont designedFont(const QString& name, int pixels, bool bold)
{
    // One family only: with more than one, Qt asks the system for fallbacks
    // for each of them at once instead of when a character is missing.
    QFont font(name);
    const QStringList installed = QFontDatabase::families();
    if (!installed.contains(name, Qt::CaseInsensitive)) {
        // Qt keeps substitutes in lower case; the font takes the installed spelling.
        for (const QString& substitute : QFont::substitutes(name)) {
            const auto found =
                std::find_if(installed.begin(), installed.end(), [&](const QString& family) {
                    return family.compare(substitute, Qt::CaseInsensitive) == 0;
                });
            if (found != installed.end()) {
                font.setFamily(*found);
                break;
            }
        }
        // With no stand-in installed the designed name stays, and the
        // substitution and the system's fallbacks find what they can.
    }
    font.setPixelSize(pixels);
    font.setBold(bold);
    // Unhinted outlines: the screen keeps the metrics the printed worksheet
    // has, and FreeType's auto-hinter never studies these large Japanese
    // faces, which costs about 3 MB and a few milliseconds at start.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

FontConfigWarmUp::FontConfigWarmUp()
{
    // Looked up, not linked: the library comes with Qt's font database
    // where there is one, and one call needs no headers.
    using Init = int (*)();
    if (const auto init = reinterpret_cast<Init>(dlsym(RTLD_DEFAULT, "FcInit")))
        m_thread = std::thread([init] { init(); });
}

FontConfigWarmUp::~FontConfigWarmUp() { wait(); }

void FontConfigWarmUp::wait()
{
    if (m_thread.joinable()) m_thread.join();
}

} // namespace common
