#include "common/dialogs.h"

#include "common/app_start.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace common {

namespace {
// The longest text the input box takes.
constexpr int kInputBoxMaxLength = 255;
} // namespace

QString QtDialogs::inputBox(QWidget* parent, const QString& caption, const QString& prompt,
                            const QString& preset)
{
    QInputDialog box(parent);
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setTextValue(preset);
    box.setInputMode(QInputDialog::TextInput);
    if (auto* edit = box.findChild<QLineEdit*>()) {
        edit->setMaxLength(kInputBoxMaxLength);
        edit->selectAll();
    }
    return box.exec() == QDialog::Accepted ? box.textValue() : preset;
}

Dialogs::Answer QtDialogs::information(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Information, applicationTitle(), text, QMessageBox::Ok, parent);
    return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Closed;
}

Dialogs::Answer QtDialogs::confirm(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, applicationTitle(), text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Closed;
    }
}

void QtDialogs::warning(QWidget* parent, const QString& text)
{
    QMessageBox::warning(parent, applicationTitle(), text);
}

void QtDialogs::error(QWidget* parent, const QString& text)
{
    QMessageBox::critical(parent, applicationTitle(), text);
}

bool QtDialogs::printerSetup(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

QString ScriptedDialogs::inputBox(QWidget*, const QString& caption, const QString& prompt,
                                  const QString& preset)
{
    shown.append({"input", caption + u'\n' + prompt + u'\n' + preset});
    if (inputs.empty()) return preset;
    QString text = inputs.front();
    inputs.pop_front();
    return text;
}

Dialogs::Answer ScriptedDialogs::information(QWidget*, const QString& text)
{
    shown.append({"information", text});
    if (answers.empty()) return Answer::Closed;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

Dialogs::Answer ScriptedDialogs::confirm(QWidget*, const QString& text)
{
    shown.append({"confirm", text});
    if (answers.empty()) return Answer::Closed;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

void ScriptedDialogs::warning(QWidget*, const QString& text) { shown.append({"warning", text}); }

void ScriptedDialogs::error(QWidget*, const QString& text) { shown.append({"error", text}); }

bool ScriptedDialogs::printerSetup(QWidget*, QPrinter& printer)
{
    shown.append({"printer", QString()});
    if (onPrinterSetup) onPrinterSetup(printer);
    if (printerAnswers.empty()) return true;
    const bool ok = printerAnswers.front();
    printerAnswers.pop_front();
    return ok;
}

int ScriptedDialogs::count(const QString& kind) const
{
    int n = 0;
    for (const auto& s : shown) n += s.kind == kind;
    return n;
}

QStringList ScriptedDialogs::texts(const QString& kind) const
{
    QStringList out;
    for (const auto& s : shown)
        if (s.kind == kind) out.append(s.text);
    return out;
}

} // namespace common
