#pragma once

// The one window of the LCM/GCD drill. Its handlers read the controls, ask the
// DrillState what happens, and write the result back: problem, counters,
// message line, picture and sound.

#include "bairo/core/drill.h"
#include "common/feedback.h"

#include <QWidget>

#include <functional>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;

namespace common {
class Dialogs;
class PageSurface;
class RandomSource;
class SoundPlayer;
} // namespace common

namespace bairo {

class TForm1 : public QWidget {
    Q_OBJECT

public:
    TForm1(common::Dialogs& dialogs, common::SoundPlayer& sound, common::RandomSource& random,
           common::AssetLocator assets = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    const DrillState& drill() const { return m_drill; }

    // What a worksheet is drawn on: the chosen printer by default; tests record.
    std::function<std::unique_ptr<common::PageSurface>(QPrinter&)> makePageSurface;

public slots:
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void CheckBox1Click();
    void RadioGroup1Click();
    void RadioGroup2Click();
    void BitBtn1Click();

    // Key events of the answer field; the key is Qt's key code.
    void Edit4KeyDown(int key);
    void Edit4KeyUp(int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void NewProblem();
    void FinishSet();
    void showPicture(const QString& name);
    void showMascot();
    void setMessageColour(const QColor& colour);

    void buildControls();

    common::Dialogs& m_dialogs;
    common::RandomSource& m_random;
    common::Feedback m_feedback;
    DrillState m_drill;
    std::unique_ptr<QPrinter> m_printer; // made at the first print: it is slow to set up

    QFrame* Panel2 = nullptr;
    QLabel* Image1 = nullptr;
    QLineEdit* Edit7 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QFrame* Panel1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* Button3 = nullptr;
    QFrame* Shape1 = nullptr;
    QLineEdit* Edit8 = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QLabel* Label6 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QButtonGroup* RadioGroup1Items = nullptr;
    QGroupBox* RadioGroup2 = nullptr;
    QButtonGroup* RadioGroup2Items = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
};

} // namespace bairo
