// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The records window's tab of a school's class: each child by kind, with its
// first-try share and the day last practised; Enter on a child chooses it
// in the window's children model and opens its page.

#include <QString>
#include <QWidget>

#include <functional>

class QLabel;
class QTableWidget;

namespace common::records {
class RecordsStore;
}

namespace kiroku {

class ChildrenModel;

class ClassTab : public QWidget {
public:
    ClassTab(common::records::RecordsStore& store, ChildrenModel& children,
             std::function<void()> showChildPage);

    // The words above the table, naming the server's service.
    void setService(const QString& service);
    // Reads the class page (the window asks while the tab is on show).
    void showClass();

private:
    common::records::RecordsStore& m_store;
    ChildrenModel& m_model;
    std::function<void()> m_showChildPage;
    QLabel* m_about = nullptr;
    QTableWidget* m_class = nullptr;
};

} // namespace kiroku
