#pragma once

// A real main window and choice window, with scripted dialogs, a recording
// sound player and a seeded random source, driven offscreen.

#include "common/dialogs.h"
#include "common/feedback.h"
#include "common/fonts.h"
#include "common/random_source.h"
#include "numira/ui/numira0.h"
#include "numira/ui/numira1.h"

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

struct WindowFixture : JapaneseFonts {
    explicit WindowFixture(common::AssetLocator locator = {}, quint64 seed = 1)
        : random(seed), form(state, {dialogs, sound, random, std::move(locator)}),
          choice(state, &form)
    {
        form.setChoiceWindow(&choice);
        // The choice window is answered by the test instead of a modal loop.
        form.showChoiceWindow = [this](numira::TForm3& window) {
            ++choiceShown;
            if (answerChoice) answerChoice(window);
        };
        form.show();
        form.activateWindow();
        QApplication::setActiveWindow(&form);
    }

    // Picks an item of a list page (or the table page) and confirms.
    void choose(int page, int item)
    {
        answerChoice = [page, item](numira::TForm3& window) {
            window.TabbedNotebook1->setCurrentIndex(page);
            if (page < 4) window.ListBox[page]->setCurrentRow(item);
            window.Button1Click();
        };
        form.Button1Click();
    }

    void type(const QString& text)
    {
        form.Edit5->clear();
        QTest::keyClicks(form.Edit5, text);
    }
    void pressReturn() { QTest::keyClick(form.Edit5, Qt::Key_Return); }
    void answer(const QString& text)
    {
        type(text);
        pressReturn();
    }
    QString currentAnswer() const
    {
        return form.state().store.answer(std::clamp(form.drill().currentNumber, 1, 100));
    }
    void answerRight() { answer(currentAnswer()); }
    void answerWrong() { answer(currentAnswer() + "9"); }

    numira::SharedState state;
    common::ScriptedDialogs dialogs;
    common::RecordingSoundPlayer sound;
    common::SeededRandomSource random;
    numira::TForm1 form;
    numira::TForm3 choice;
    std::function<void(numira::TForm3&)> answerChoice;
    int choiceShown = 0;
};
