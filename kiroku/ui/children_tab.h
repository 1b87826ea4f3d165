// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The records window's tab of a family's file: whether the drills keep
// records and for how long, and the children they are kept for, with adding,
// renaming and deleting them. Its list follows the window's children model.

#include <QString>
#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;

namespace common {
class Dialogs;
namespace records {
class RecordsStore;
}
} // namespace common

namespace kiroku {

class ChildrenModel;

class ChildrenTab : public QWidget {
public:
    // What the tab asks of its window: the store open for writing (opened,
    // and made, first when it is not), the children read again with `id`
    // chosen, and the chosen child's page to be shown.
    struct Window {
        QWidget* parent; // of the dialogs
        std::function<bool()> openForWriting;
        std::function<void(qint64 id)> showChildren;
        std::function<void()> showChildPage;
    };
    ChildrenTab(common::Dialogs& dialogs, common::records::RecordsStore& store,
                ChildrenModel& children, const QString& file, Window window);

    // Whether records are kept, as the settings say.
    void showSwitch();
    // The months kept, as the file holds it; editable only when there is a
    // file to write.
    void showKeeping();
    void updateButtons();

private:
    void showList();
    void switchRecords(bool on);
    // A new choice of months, with the answers it no longer keeps removed
    // once the adult agrees.
    void changeKeeping(int index);
    void addChild();
    void renameChild();
    void deleteChild();
    QString askNickname(const QString& preset);

    common::Dialogs& m_dialogs;
    common::records::RecordsStore& m_store;
    ChildrenModel& m_model;
    Window m_window;
    QCheckBox* m_switch = nullptr;
    QComboBox* m_keeping = nullptr;
    QListWidget* m_children = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_rename = nullptr;
    QPushButton* m_delete = nullptr;
};

} // namespace kiroku
