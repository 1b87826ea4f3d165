// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The records window's tab of a school's class: each child by kind, with its
// first-try share and the day last practised; Enter on a child chooses it
// in the window's children model and opens its page. Below it, a class the
// teacher teaches and its path, pinned step and day's length, which every
// pupil of the class follows.

#include <QString>
#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QTableWidget;

namespace common {
class Dialogs;
namespace records {
class RecordsStore;
}
} // namespace common

namespace kiroku {

class ChildrenModel;
class PathEditor;

class ClassTab : public QWidget {
public:
    // `window`: the parent of the dialogs.
    ClassTab(common::Dialogs& dialogs, common::records::RecordsStore& store,
             ChildrenModel& children, QWidget* window, std::function<void()> showChildPage);

    // The words above the table, naming the server's service.
    void setService(const QString& service);
    // Reads the class page (the window asks while the tab is on show).
    void showClass();

private:
    // The classes the teacher teaches, and the chosen one's path as the
    // server holds it.
    void showClasses();
    void showClassPath();
    QString chosenClass() const;

    common::records::RecordsStore& m_store;
    ChildrenModel& m_model;
    std::function<void()> m_showChildPage;
    QLabel* m_about = nullptr;
    QTableWidget* m_class = nullptr;
    QComboBox* m_classes = nullptr;
    PathEditor* m_path = nullptr;
    int m_dayProblems = 0; // of the class shown, saved with a changed path
};

} // namespace kiroku
