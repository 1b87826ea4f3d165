// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A real main window and choice window, with scripted dialogs, a recording
// sound player and a seeded random source, driven offscreen.

#include "common/asset_locator.h"
#include "common/dialogs.h"
#include "common/fonts.h"
#include "common/random_source.h"
#include "numira/ui/choice_dialog.h"
#include "numira/ui/main_window.h"
#include "tests/support/doubles.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <memory>

// The font mapping is in place before any window is built, as in the program.
struct JapaneseFonts {
    JapaneseFonts() { common::installJapaneseFonts(); }
};

// The controls of the choice window, by role.
struct ChoiceControls {
    template <typename T = QWidget> T* w(const QString& name) const
    {
        return window->findChild<T*>(name);
    }
    QTabWidget* pages() const { return w<QTabWidget>("pages"); }
    QListWidget* list(int page) const
    {
        static const char* const names[] = {"additionList", "subtractionList", "multiplicationList",
                                            "divisionList"};
        return w<QListWidget>(names[page]);
    }
    QPushButton* confirmButton() const { return w<QPushButton>("confirmButton"); }
    // A list item (or the table page as it stands) confirmed.
    void choose(int page, int item) const
    {
        pages()->setCurrentIndex(page);
        if (page < 4) list(page)->setCurrentRow(item);
        confirmButton()->click();
    }
    numira::ChoiceDialog* window;
};

struct WindowFixture : JapaneseFonts {
    explicit WindowFixture(common::AssetLocator locator = {}, quint64 seed = 1)
        : random(seed), form({dialogs, sound, random, std::move(locator),
                              [this](QPrinter& printer) { return pages(printer); }, records},
                             // The choice window is answered by the test instead of a modal loop.
                             [this](numira::ChoiceDialog& window) {
                                 ++choiceShown;
                                 if (answerChoice) answerChoice(window);
                             }),
          choice(*form.choiceWindow())
    {
        form.show();
        form.activateWindow();
        QApplication::setActiveWindow(&form);
    }

    template <typename T = QWidget> T* w(const char* name) const
    {
        return form.findChild<T*>(QLatin1String(name));
    }
    QLineEdit* edit(const char* name) const { return w<QLineEdit>(name); }
    QString shows(const char* name) const { return edit(name)->text(); }
    void click(const char* name) const { w<QAbstractButton>(name)->click(); }
    ChoiceControls choiceControls() { return {&choice}; }
    const numira::RunState& run() const { return form.drill().state(); }
    const numira::ProblemStore& store() const { return form.drill().store(); }

    // Picks an item of a list page (or the table page) and confirms.
    void choose(int page, int item)
    {
        answerChoice = [page, item](numira::ChoiceDialog& window) {
            ChoiceControls{&window}.choose(page, item);
        };
        click("chooseButton");
    }
    // Fixes the number of problems through the check box.
    void fix(int count)
    {
        dialogs.inputs.push_back(QString::number(count));
        click("fixedCountBox");
    }

    void type(const QString& text)
    {
        edit("answerEdit")->clear();
        QTest::keyClicks(edit("answerEdit"), text);
    }
    void pressReturn() { QTest::keyClick(edit("answerEdit"), Qt::Key_Return); }
    void answer(const QString& text)
    {
        type(text);
        pressReturn();
    }
    QString currentAnswer() const { return form.drill().answer(); }
    void answerRight() { answer(currentAnswer()); }
    void answerWrong() { answer(currentAnswer() + "9"); }

    test_support::ScriptedDialogs dialogs;
    test_support::RecordingSoundPlayer sound;
    test_support::SeededRandomSource random;
    common::PageSurfaceFactory pages = common::printerPages(); // tests may record instead
    test_support::RecordingRecords records;                    // off unless a test sets a review
    numira::MainWindow form;
    numira::ChoiceDialog& choice;
    std::function<void(numira::ChoiceDialog&)> answerChoice;
    int choiceShown = 0;
};
