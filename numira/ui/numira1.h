#pragma once

// The main window of the arithmetic drill. It shows one problem in large
// type, takes the child's answer, counts and scores, and holds the buttons
// that choose a set, show the answer, start again, fix the number of
// problems, open the help, print and quit. The handlers read the widgets,
// call the core (generators, judge) and write the widgets back.

#include "common/feedback.h"
#include "numira/core/drill.h"
#include "numira/core/generators.h"
#include "numira/ui/numira0.h"

#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QFrame;
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

class HelpWindow;
class TForm3;

// The platform services the window reaches through interfaces.
struct Services {
    common::Dialogs& dialogs;
    common::SoundPlayer& sound;
    common::RandomSource& random;
    common::AssetLocator locator = {};
};

class TForm1 : public QWidget {
    Q_OBJECT
public:
    TForm1(SharedState& state, Services services, QWidget* parent = nullptr);
    ~TForm1() override;

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void CheckBox1Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void Edit5KeyDown(int key);
    void Edit5KeyUp();

    // What a worksheet is drawn on: the chosen printer by default; tests record.
    std::function<std::unique_ptr<common::PageSurface>(QPrinter&)> makePageSurface;
    // The choice window is made at its first showing (it costs a good part
    // of the start-up otherwise) and kept, with its settings, from then on.
    // Tests hand in their own.
    void setChoiceWindow(TForm3* window) { m_choiceWindow = window; }
    TForm3* choiceWindow();
    // Shows the choice window modally; tests replace it to answer the window.
    std::function<void(TForm3&)> showChoiceWindow;

    const DrillState& drill() const { return m_drill; }
    SharedState& state() { return m_state; }
    const SharedState& state() const { return m_state; }
    common::Feedback& feedback() { return m_feedback; }
    HelpWindow* helpWindow() const { return m_help; }

    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label8;
    QFrame *Panel1, *Panel2, *Panel3, *Panel4;
    QLabel* Image1;
    QPushButton *Button1, *Button2, *Button3, *Button4;
    QCheckBox* CheckBox1;
    QToolButton *BitBtn1, *BitBtn2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void FormCreate();
    void showMascot();
    void blankPicture();
    void showEndOfRun(bool focusButton1);
    void showScore(int dealtWith);

    SharedState& m_state;
    TForm3* m_choiceWindow = nullptr;
    std::unique_ptr<TForm3> m_ownChoiceWindow;
    Services m_services;
    common::Feedback m_feedback;
    ProblemGenerators m_generators;
    DrillState m_drill;
    HelpWindow* m_help = nullptr;
    std::unique_ptr<QPrinter> m_printer; // made at the first print: it is slow to set up
};

} // namespace numira
