// SPDX-License-Identifier: GPL-3.0-or-later
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
    return box.exec() == QMessageBox::Ok ? Answer::kOk : Answer::kClosed;
}

Dialogs::Answer QtDialogs::confirm(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, applicationTitle(), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::kYes;
    case QMessageBox::No: return Answer::kNo;
    default: return Answer::kClosed;
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

} // namespace common
