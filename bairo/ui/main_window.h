// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one window of the LCM/GCD drill. Its handlers pass each click and key
// to the drill and show what comes back: problem, counters, message line,
// picture and sound.

#include "bairo/core/drill.h"
#include "common/feedback.h"
#include "common/print_flow.h"
#include "common/services.h"

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace bairo {

class MainWindow : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(common::WindowServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    const Drill& drill() const { return m_drill; }

private slots:
    // What the buttons, the check box and the radio items do.
    void start();
    void showAnswerOrNext();
    void toggleFixedCount();
    void chooseKind();
    void chooseLevel();
    void printSheet();
    void startReview();

private:
    // Key events of the answer field; the key is Qt's key code.
    void answerKeyPressed(int key);
    void answerKeyReleased();

    void buildControls();
    void showOpeningState();
    void showProblem();
    void showNewSet();
    void showEndOfSet();
    void giveFeedback(common::Feedback::Cue cue);
    void showMascot();
    void setMessageColour(const QColor& colour);

    common::Dialogs& m_dialogs;
    common::RecordsService& m_records;
    common::Feedback m_feedback;
    common::PrintFlow m_printFlow;
    Drill m_drill;

    QLabel* m_picture = nullptr;
    QLineEdit* m_messageLine = nullptr;
    QPushButton* m_printButton = nullptr;
    QFrame* m_problemPanel = nullptr;
    QLineEdit* m_firstEdit = nullptr;
    QLabel* m_andLabel = nullptr;
    QLineEdit* m_secondEdit = nullptr;
    QLabel* m_ofLabel = nullptr;
    QLineEdit* m_kindEdit = nullptr;
    QLabel* m_isLabel = nullptr;
    QLineEdit* m_answerEdit = nullptr;
    QLabel* m_sentenceEndLabel = nullptr;
    QPushButton* m_showAnswerButton = nullptr;
    QFrame* m_counterBox = nullptr;
    QLineEdit* m_countEdit = nullptr;
    QCheckBox* m_fixedCountBox = nullptr; // fixes the count shown above
    QLabel* m_countUnitLabel = nullptr;
    QLineEdit* m_numberEdit = nullptr;
    QLabel* m_numberUnitLabel = nullptr;
    QLineEdit* m_scoreEdit = nullptr;
    QLabel* m_scoreUnitLabel = nullptr;
    QGroupBox* m_kindGroup = nullptr;
    QButtonGroup* m_kindButtons = nullptr;
    QGroupBox* m_levelGroup = nullptr;
    QButtonGroup* m_levelButtons = nullptr;
    QPushButton* m_startButton = nullptr;
    QPushButton* m_quitButton = nullptr;
    QPushButton* m_reviewButton = nullptr; // with records on only
};

} // namespace bairo
