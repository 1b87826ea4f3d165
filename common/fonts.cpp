#include "common/fonts.h"

#include <QFont>
#include <QStringList>

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

} // namespace common
