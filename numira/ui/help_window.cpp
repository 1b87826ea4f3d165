// SPDX-License-Identifier: GPL-3.0-or-later
#include "numira/ui/help_window.h"

#include "common/fonts.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace numira {

HelpWindow::HelpWindow(QWidget* parent) : QTextBrowser(parent)
{
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("ヌミラ ヘルプ"));
    setOpenExternalLinks(false);
    resize(560, 520);
    setFont(common::designedFont(QStringLiteral("ＭＳ ゴシック"), 16));
}

bool HelpWindow::showFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    setSearchPaths({QFileInfo(path).absolutePath()});
    setHtml(QString::fromUtf8(file.readAll()));
    return true;
}

} // namespace numira
