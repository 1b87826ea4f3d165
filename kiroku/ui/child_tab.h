// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The records window's tab of one child: a chooser of the child (following
// the window's children model), the time limit of its recall facts, the
// child's page and its printed report; and, on a page of its own, the
// child's school year, its path and the day's length.

#include "common/print_flow.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace common {
class Dialogs;
namespace records {
class RecordsStore;
}
} // namespace common

namespace kiroku {

class ChildPageView;
class ChildrenModel;
class PathEditor;

class ChildTab : public QWidget {
public:
    // `window`: the parent of the dialogs; `current`: whether the tab is on
    // show (a page is read only then); `openForWriting`: the store open for
    // writing (opened, and made, first when it is not); `pages`: what a
    // report is printed on.
    ChildTab(common::Dialogs& dialogs, common::records::RecordsStore& store,
             ChildrenModel& children, QWidget* window, std::function<bool()> current,
             std::function<bool()> openForWriting, common::PageSurfaceFactory pages);

    // Reads the chosen child's page (the first child's when none is chosen).
    void showPage();

private:
    void showChooser();
    // Prints the shown child's report through the print flow.
    void printReport();
    // Fast and right: the base limit chosen for the child shown, and the
    // speed rule adopted by a file that holds the accuracy rule alone.
    void changeBaseLimit(int index);
    void adoptSpeedRule();
    // The school year chosen for the child shown, and its plan shown
    // again as the records hold it.
    void changeGrade(int index);
    void showPlan();
    qint64 shownChild() const;
    bool editable() const;

    common::Dialogs& m_dialogs;
    common::records::RecordsStore& m_store;
    ChildrenModel& m_model;
    QWidget* m_window;
    std::function<bool()> m_current;
    std::function<bool()> m_openForWriting;
    QComboBox* m_chooser = nullptr;
    ChildPageView* m_childPage = nullptr;
    QPushButton* m_print = nullptr;
    QLabel* m_pace = nullptr;            // the child's keying and the limit it gives
    QComboBox* m_baseLimit = nullptr;    // the base limit of its recall facts
    QPushButton* m_adopt = nullptr;      // shown while the file holds the accuracy rule
    QLineEdit* m_printMessage = nullptr; // says that the report is printing
    QComboBox* m_grade = nullptr;
    PathEditor* m_path = nullptr;
    common::PrintFlow m_printFlow;
};

} // namespace kiroku
