// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/dialogs.h"

#include "common/app_start.h"

#include <QDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

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

int QtDialogs::pick(QWidget* parent, const QString& question, const QStringList& choices)
{
    QDialog box(parent);
    box.setWindowTitle(applicationTitle());
    auto* layout = new QVBoxLayout(&box);
    QFont large = box.font();
    large.setPixelSize(24);
    auto* label = new QLabel(question, &box);
    label->setFont(large);
    layout->addWidget(label);
    // Tab or the arrow keys move between the names; Return or Space takes one.
    for (int i = 0; i < choices.size(); ++i) {
        auto* button = new QPushButton(choices[i], &box);
        button->setFont(large);
        button->setAutoDefault(true);
        QObject::connect(button, &QPushButton::clicked, &box, [&box, i] { box.done(i + 1); });
        layout->addWidget(button);
        if (i == 0) button->setFocus();
    }
    return box.exec() - 1;
}

} // namespace common
