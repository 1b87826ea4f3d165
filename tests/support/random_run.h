// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared pieces of the random-run tests: the seed and length of a run, a note
// naming both on a crash, typed keys, and the random key events on the
// answer box.

#include "common/dialogs.h"
#include "tests/support/doubles.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <random>
#include <unistd.h>

// The seed from APP_RANDOM_SEED, else from the clock.
inline quint64 runSeed()
{
    bool ok = false;
    const quint64 seed = qEnvironmentVariable("APP_RANDOM_SEED").toULongLong(&ok);
    if (ok) return seed;
    return quint64(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

inline int runEvents(int fallback)
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("APP_RANDOM_EVENTS", &ok);
    return ok && n > 0 ? n : fallback;
}

// A crash in the middle of the run still names the seed and the event.
namespace crash {
inline char note[128];
inline volatile sig_atomic_t event = -1;
inline struct sigaction previous[32];
inline const int fatalSignals[] = {SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS};

inline void handler(int sig)
{
    char digits[16];
    int n = 0;
    for (long v = event < 0 ? 0 : event; n == 0 || v > 0; v /= 10) digits[n++] = char('0' + v % 10);
    [[maybe_unused]] ssize_t w = write(2, note, std::strlen(note));
    while (n > 0) w = write(2, &digits[--n], 1);
    w = write(2, "\n", 1);
    sigaction(sig, &previous[sig], nullptr);
    raise(sig);
}
inline void install(quint64 seed)
{
    std::snprintf(note, sizeof note, "random run crashed: APP_RANDOM_SEED=%llu, event ",
                  static_cast<unsigned long long>(seed));
    struct sigaction action {};
    action.sa_handler = handler;
    for (int sig : fatalSignals) sigaction(sig, &action, &previous[sig]);
}
inline void uninstall()
{
    for (int sig : fatalSignals) sigaction(sig, &previous[sig], nullptr);
}
} // namespace crash

// The seed and length of a run, printed, with the crash note in place.
struct RunSettings {
    quint64 seed;
    int events;
};
inline RunSettings startRandomRun(int fallbackEvents)
{
    const quint64 seed = runSeed();
    const int events = runEvents(fallbackEvents);
    qInfo("random run: APP_RANDOM_SEED=%llu APP_RANDOM_EVENTS=%d",
          static_cast<unsigned long long>(seed), events);
    crash::install(seed);
    return {seed, events};
}

// The last events of a run, for the failure message.
struct EventTrail {
    void add(const QString& name)
    {
        names << name;
        if (names.size() > 12) names.removeFirst();
    }
    QString failure(quint64 seed, int event, const QString& name, const QString& problem) const
    {
        return QString("APP_RANDOM_SEED=%1, event %2 (%3): %4\nlast events: %5")
            .arg(seed)
            .arg(event)
            .arg(name, problem, names.join(", "));
    }
    QStringList names;
};

// Everything a window shows, as one line: each control's text, colour, tick
// or picture, and the control with the focus. With APP_RANDOM_TRACE naming a
// file, a run writes it after every event, so that two builds' runs of one
// seed can be compared line by line.
inline QString windowTrace(const QWidget& window)
{
    QStringList parts;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        QString shown;
        if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
            shown = edit->text() + u'|' + edit->palette().color(QPalette::Text).name();
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
            shown = button->text() + (button->isChecked() ? QStringLiteral("|on") : QString());
        } else if (const auto* label = qobject_cast<const QLabel*>(w)) {
            const QImage picture = label->pixmap().toImage();
            shown = picture.isNull() ? label->text()
                                     : QString::number(qHashBits(picture.constBits(),
                                                                 size_t(picture.sizeInBytes())));
        } else {
            continue;
        }
        parts << w->objectName() + u'=' + shown;
    }
    if (const QWidget* focus = window.focusWidget()) parts << u"focus="_qs + focus->objectName();
    return parts.join(u'\t');
}

struct TraceFile {
    QFile file{qEnvironmentVariable("APP_RANDOM_TRACE")};
    TraceFile()
    {
        if (!file.fileName().isEmpty()) file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    }
    void write(const QStringList& fields)
    {
        if (file.isOpen()) file.write((fields.join(u'\t') + u'\n').toUtf8());
    }
};

// Types text key by key; characters beyond ASCII (full-width digits and
// blanks, kana) arrive as key events that carry only their text.
inline void typeText(QWidget* w, const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(w, char(c.unicode()));
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

inline void sendReturn(QWidget* w, QEvent::Type type, bool autoRepeat)
{
    QKeyEvent e(type, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), autoRepeat);
    QApplication::sendEvent(w, &e);
}

// The random choices of a run and its key events on the answer box. Each
// program gives the characters of random text, what its "letters" keep and
// its full-width texts.
struct RandomKeys {
    RandomKeys(quint64 seed, QString textPool, const QString& notLetters, QStringList wideTexts)
        : pick(seed), pool(std::move(textPool)), dropped(notLetters), wide(std::move(wideTexts))
    {
    }

    int chance(int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(pick)); }
    bool coin(int percent) { return chance(100) < percent; }

    QString randomText(int length)
    {
        QString s;
        for (int i = 0; i < length; ++i) s += pool[chance(int(pool.size()))];
        return s;
    }

    // Every box the next event may meet gets a random answer, or none (the
    // box's dismissed answer).
    void scriptDialogs(test_support::ScriptedDialogs& dialogs, const QStringList& typed)
    {
        using Answer = common::Dialogs::Answer;
        static const Answer answers[] = {Answer::kOk, Answer::kYes, Answer::kNo, Answer::kClosed};
        dialogs.inputs.clear();
        dialogs.answers.clear();
        dialogs.printerAnswers.clear();
        for (int i = chance(3); i > 0; --i)
            dialogs.inputs.push_back(typed[chance(int(typed.size()))]);
        for (int i = chance(4); i > 0; --i) dialogs.answers.push_back(answers[chance(4)]);
        if (coin(70)) dialogs.printerAnswers.push_back(coin(50));
    }

    // The key events for r below 53; returns the event's name, or an empty
    // name when r is for the caller's own events.
    QString keyEvent(QLineEdit* edit, int r)
    {
        if (r < 14) {
            typeText(edit, QString::number(chance(r < 7 ? 10 : 1000)));
            return "digits";
        }
        if (r < 18) {
            QTest::keyClick(edit, Qt::Key_Space);
            return "blank";
        }
        if (r < 21) {
            typeText(edit, randomText(1 + chance(4)).remove(dropped) + "x");
            return "letters";
        }
        if (r < 24) {
            typeText(edit, wide[chance(int(wide.size()))]);
            return "full-width";
        }
        if (r < 25) {
            typeText(edit, randomText(200 + chance(400)));
            return "long text";
        }
        if (r < 35) {
            QTest::keyClick(edit, Qt::Key_Return);
            return "Return";
        }
        if (r < 37) {
            QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
            return "Enter";
        }
        if (r < 40) {
            // Held down: auto-repeat release and press pairs, then the real release.
            sendReturn(edit, QEvent::KeyPress, false);
            for (int i = chance(6); i > 0; --i) {
                sendReturn(edit, QEvent::KeyRelease, true);
                sendReturn(edit, QEvent::KeyPress, true);
            }
            if (coin(80)) sendReturn(edit, QEvent::KeyRelease, false);
            return "Return held";
        }
        if (r < 42) {
            QTest::keyPress(edit, Qt::Key_Return);
            return "Return pressed";
        }
        if (r < 44) {
            QTest::keyRelease(edit, Qt::Key_Return);
            return "Return released";
        }
        if (r < 49) {
            QTest::keyClick(edit, Qt::Key_Backspace);
            return "Backspace";
        }
        if (r < 51) {
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(edit, Qt::Key_Delete);
            return "select all, delete";
        }
        if (r < 53) {
            static const Qt::Key keys[] = {Qt::Key_Left,   Qt::Key_Home,  Qt::Key_End,
                                           Qt::Key_Escape, Qt::Key_Shift, Qt::Key_Tab};
            QTest::keyClick(edit, keys[chance(6)]);
            return "other key";
        }
        return {};
    }

    std::mt19937_64 pick;
    QString pool;
    QRegularExpression dropped;
    QStringList wide;
};
