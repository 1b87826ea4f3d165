// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Start-up measurement hook shared by the programs and the bare baselines of
// the start-up benchmark. With APP_QUIT_AFTER_SHOW set, the program writes
// "shown <ns>" (CLOCK_MONOTONIC) to standard output once its window has been
// painted for the first time, then quits. Header-only, so the baselines need
// nothing but Qt Widgets.
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace common {

class StartupProbe : public QObject {
public:
    // Does nothing unless APP_QUIT_AFTER_SHOW is set.
    static void watch(QWidget& window)
    {
        if (qEnvironmentVariableIsSet("APP_QUIT_AFTER_SHOW"))
            window.installEventFilter(new StartupProbe(&window));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The window paints first and its children follow in the same pass;
        // the zero timer fires once that whole pass is done.
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, this, [] {
                timespec now{};
                clock_gettime(CLOCK_MONOTONIC, &now);
                std::printf("shown %lld\n",
                            static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    explicit StartupProbe(QObject* parent) : QObject(parent) {}
    bool m_seen = false;
};

} // namespace common
