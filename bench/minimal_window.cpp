// SPDX-License-Identifier: GPL-3.0-or-later
// The baselines for start-up measurements: a bare Qt Widgets program with one
// window, and the same window showing one line of Japanese text (which is
// what first loads the font database), each quitting once it is first painted
// when APP_QUIT_AFTER_SHOW is set.
#include "common/startup_probe.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(598, 451);
#ifdef WITH_TEXT
    QLabel label(QStringLiteral("こたえをいれてね☆"), &window);
#endif
    common::StartupProbe::watch(window);
    window.show();
    return app.exec();
}
