// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/worksheet_page.h"

// The windows drop their page surface when a click ends; a test keeps the
// recording and hands the window this forwarder instead.
struct ForwardingSurface : common::PageSurface {
    explicit ForwardingSurface(common::PageSurface& target) : t(target) {}
    QSize pageSize() const override { return t.pageSize(); }
    bool begin() override { return t.begin(); }
    bool newPage() override { return t.newPage(); }
    void setFont(const QString& f, int p) override { t.setFont(f, p); }
    void moveTo(QPoint p) override { t.moveTo(p); }
    void lineTo(QPoint p) override { t.lineTo(p); }
    void textOut(QPoint p, const QString& s) override { t.textOut(p, s); }
    void setPenWidth(int w) override { t.setPenWidth(w); }
    void fillRect(QRect r, QRgb c) override { t.fillRect(r, c); }
    bool end() override { return t.end(); }
    void abort() override { t.abort(); }
    QString errorText() const override { return t.errorText(); }
    common::PageSurface& t;
};
