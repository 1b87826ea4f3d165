#pragma once

#include "numira/core/catalogue.h"
#include "numira/core/problem_store.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QGroupBox;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace numira {

// The child's fixed number of problems.
struct FixedNumber {
    bool CountIsFixed = false;
    qint32 FixedCount = 0;
};

// Everything that lives as long as the program and is shared between the
// windows: the set, the choice that made it, the fixed number of problems.
struct SharedState {
    ProblemStore store;
    Choice choice;
    FixedNumber fixed;
};

// The choice window: the catalogue on five pages, the table rows as check
// boxes. Confirming records the choice and the set's title and closes; the
// close box records nothing. It is created once and keeps its page,
// selections and ticks between showings.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(SharedState& state, QWidget* parent = nullptr);

    // The confirmation, bound to "けってい" and to a double click in any list.
    void Button1Click();

    QTabWidget* TabbedNotebook1;
    std::array<QListWidget*, 4> ListBox{}; // ListBox1..ListBox4
    QGroupBox* GroupBox1;
    std::array<QCheckBox*, 11> CheckBox{}; // CheckBox1..CheckBox11
    QPushButton* Button1;

private:
    void FormCreate();
    int scaled(int pixels) const;

    SharedState& m_state;
    double m_scale = 1.0;
};

} // namespace numira
