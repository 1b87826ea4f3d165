// SPDX-License-Identifier: GPL-3.0-or-later
#include "bairo/ui/hint_style.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>
#include <QToolTip>
#include <qdrawutil.h>

namespace bairo {

namespace {

// Hints come up after 100 ms instead of the platform's usual delay, and the
// radio groups get an etched frame drawn in place: the default frame is read
// from an image file, and reading it loads every image plugin on the first
// paint.
class HintStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == QStyle::SH_ToolTip_WakeUpDelay) return 100;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element == PE_FrameGroupBox) {
            qDrawShadeRect(painter, option->rect, option->palette, true, 1, 0);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

} // namespace

void installHintStyle()
{
    // The hint delay lives in the application's style; installed before the
    // controls exist so they are not polished twice.
    if (!dynamic_cast<HintStyle*>(QApplication::style())) QApplication::setStyle(new HintStyle);
    QPalette hints = QToolTip::palette();
    hints.setColor(QPalette::ToolTipBase, Qt::cyan);
    hints.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(hints);
}

} // namespace bairo
