// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The records window's tab of one child: a chooser of the child (following
// the window's children model), the child's page and its printed report.

#include "common/print_flow.h"

#include <QWidget>

#include <functional>

class QComboBox;
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

class ChildTab : public QWidget {
public:
    // `window`: the parent of the dialogs; `current`: whether the tab is on
    // show (a page is read only then); `pages`: what a report is printed on.
    ChildTab(common::Dialogs& dialogs, common::records::RecordsStore& store,
             ChildrenModel& children, QWidget* window, std::function<bool()> current,
             common::PageSurfaceFactory pages);

    // Reads the chosen child's page (the first child's when none is chosen).
    void showPage();

private:
    void showChooser();
    // Prints the shown child's report through the print flow.
    void printReport();

    common::records::RecordsStore& m_store;
    ChildrenModel& m_model;
    QWidget* m_window;
    std::function<bool()> m_current;
    QComboBox* m_chooser = nullptr;
    ChildPageView* m_childPage = nullptr;
    QPushButton* m_print = nullptr;
    QLineEdit* m_printMessage = nullptr; // says that the report is printing
    common::PrintFlow m_printFlow;
};

} // namespace kiroku
