// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QWidget;
class QPrinter;

namespace common {

// The modal boxes the programs ask questions with. The windows only speak to
// this interface, so tests can answer every box without a real modal loop.
class Dialogs {
public:
    enum class Answer { kOk, kYes, kNo, kClosed };

    virtual ~Dialogs() = default;
    // Input box with caption, prompt and preset text; Cancel (or closing the
    // box) returns the preset text.
    virtual QString inputBox(QWidget* parent, const QString& caption, const QString& prompt,
                             const QString& preset) = 0;
    // Information box with one OK button: Ok, or Closed when dismissed otherwise.
    virtual Answer information(QWidget* parent, const QString& text) = 0;
    // Warning box with Yes and No: Yes, No, or Closed.
    virtual Answer confirm(QWidget* parent, const QString& text) = 0;
    // A warning that only reports (a missing file, a failed print job).
    virtual void warning(QWidget* parent, const QString& text) = 0;
    // The standard error box for a failed conversion.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // The print dialog; true when confirmed, false after Cancel.
    virtual bool printerSetup(QWidget* parent, QPrinter& printer) = 0;
    // A question with one button per choice, usable from the keyboard alone:
    // the index of the choice taken, or -1 when the box was closed.
    virtual int pick(QWidget* parent, const QString& question, const QStringList& choices) = 0;
};

// Real boxes on screen.
class QtDialogs final : public Dialogs {
public:
    QString inputBox(QWidget* parent, const QString& caption, const QString& prompt,
                     const QString& preset) override;
    Answer information(QWidget* parent, const QString& text) override;
    Answer confirm(QWidget* parent, const QString& text) override;
    void warning(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    bool printerSetup(QWidget* parent, QPrinter& printer) override;
    int pick(QWidget* parent, const QString& question, const QStringList& choices) override;
};

} // namespace common
