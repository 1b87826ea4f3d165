// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window of the arithmetic drill. It shows one problem in large
// type and holds the answer field and the buttons that choose a set, show
// the answer, start again, fix the number of problems, open the help, print
// and quit. Its handlers pass each click and key to the drill and show what
// comes back: texts, pictures and sounds.

#include "common/feedback.h"
#include "common/print_flow.h"
#include "common/services.h"
#include "numira/core/drill.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QPrinter;
class QToolButton;

namespace common {
class Dialogs;
class PageSurface;
} // namespace common

namespace numira {

class ChoiceDialog;
class HelpWindow;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    // Shows the choice window: modally by default; tests answer it instead.
    using ShowChoice = std::function<void(ChoiceDialog&)>;

    explicit MainWindow(common::WindowServices services, ShowChoice showChoice = {},
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    // The choice window is made at its first showing (it costs a good part
    // of the start-up otherwise) and kept, with its settings, from then on.
    ChoiceDialog* choiceWindow();

    const Drill& drill() const { return m_drill; }
    HelpWindow* helpWindow() const { return m_help; }

private slots:
    void chooseProblems();
    void showAnswerOrNext();
    void startAgain();
    void toggleFixedCount();
    void showHelp();
    void printSheet();
    void answerKeyPressed(int key);
    void answerKeyReleased();

private:
    void buildControls();
    std::optional<ChosenSet> askForChoice();
    void showProblem();
    void showScore();
    // What the message line asks for: an answer, or in the warm-up the number shown.
    QString prompt() const;
    void showEndOfRun(bool focusChooseButton);
    void showDayOutcome();
    void showMascot();
    void blankPicture();

    common::Dialogs& m_dialogs;
    common::RecordsService& m_records;
    common::Feedback m_feedback;
    common::PrintFlow m_printFlow;
    Drill m_drill;
    ShowChoice m_showChoice;
    std::unique_ptr<ChoiceDialog> m_choiceWindow;
    HelpWindow* m_help = nullptr;

    QLineEdit* m_titleEdit = nullptr;
    QLineEdit* m_countEdit = nullptr;
    QLineEdit* m_numberEdit = nullptr;
    QLineEdit* m_problemEdit = nullptr;
    QLineEdit* m_answerEdit = nullptr;
    QLineEdit* m_messageLine = nullptr;
    QLineEdit* m_scoreEdit = nullptr;
    QLabel* m_picture = nullptr;
    QToolButton* m_helpButton = nullptr;
    QToolButton* m_printButton = nullptr;
    // The buttons below the problem, left to right, and the tick under them.
    QPushButton* m_chooseButton = nullptr;
    QPushButton* m_showAnswerButton = nullptr;
    QPushButton* m_startAgainButton = nullptr;
    QPushButton* m_quitButton = nullptr;
    QCheckBox* m_fixedCountBox = nullptr;
};

} // namespace numira
