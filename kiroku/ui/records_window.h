// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The adults' window on the records: whether the drills keep them at all and
// for how long, the children they are kept for, and how each child is
// getting on. Its pages sit in tabs: the list of children, then one child's
// page with a chooser of the child. Every handler asks what it needs through the dialog
// interface, calls the store and shows what the store now holds.
// A teacher looks at a school's server instead (records_place's
// recordsServer()): the first tab is then the whole class, and nothing is
// written; the children there are the pupils' logins.

#include "common/print_flow.h"
#include "records/store/records_store.h"

#include <QString>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace common {
class Dialogs;
}

namespace kiroku {

class ChildPageView;

class RecordsWindow : public QWidget {
public:
    // `file`: the records file, opened at once when it is there; otherwise
    // it is made at the first child added or when records are turned on.
    // `pages`: what a child's report is printed on.
    RecordsWindow(common::Dialogs& dialogs, QString file, QWidget* parent = nullptr,
                  common::PageSurfaceFactory pages = common::printerPages());

private:
    QWidget* makeChildrenPage();
    QWidget* makeClassPage();
    QWidget* makeChildPage();
    // Opens where the records are, a school's server or the family's file,
    // and shows that place's tabs.
    void openRecords();
    void showPlace();
    // The school's server turned on (its service name asked and tried
    // before it is saved) or off (back to the family's file).
    void switchSchool(bool on);
    // Reads the class page, when that page is on show.
    void showClass();
    // True when the store is open for writing, opening (and making) the
    // file first when it is not.
    bool openForWriting();
    void tellOpening(common::records::RecordsStore& store, common::records::Opening opening);
    void showChildren(qint64 current = 0);
    void updateButtons();
    // The child chosen in the list is the one whose page is shown.
    void chooseFromList();
    // Reads the chosen child's page, when that page is on show.
    void showChildPage();
    // Fast and right: the base limit chosen for the child shown, and the
    // speed rule adopted by a file that holds the accuracy rule alone.
    void changeBaseLimit(int index);
    void adoptSpeedRule();

    // Prints the shown child's report through the print flow.
    void printReport();

    // The months of answers kept, as the file holds it; editable only when
    // there is a file to write.
    void showKeeping();
    void switchRecords(bool on);
    // A new choice of months, with the answers it no longer keeps removed
    // once the adult agrees.
    void changeKeeping(int index);
    void addChild();
    void renameChild();
    void deleteChild();
    QString askNickname(const QString& preset);

    common::Dialogs& m_dialogs;
    QString m_file;
    QString m_service; // the school's server shown; empty for the family's file
    common::records::RecordsStore m_store;
    QCheckBox* m_school = nullptr;
    QTabWidget* m_pages = nullptr;
    QWidget* m_childrenTab = nullptr;
    QWidget* m_classTab = nullptr;
    QLabel* m_classAbout = nullptr;
    QTableWidget* m_class = nullptr;
    QCheckBox* m_switch = nullptr;
    QComboBox* m_keeping = nullptr;
    QListWidget* m_children = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_rename = nullptr;
    QPushButton* m_delete = nullptr;
    QWidget* m_childTab = nullptr;
    QComboBox* m_chooser = nullptr;
    ChildPageView* m_childPage = nullptr;
    QPushButton* m_print = nullptr;
    QLabel* m_pace = nullptr;            // the child's keying and the limit it gives
    QComboBox* m_baseLimit = nullptr;    // the base limit of its recall facts
    QPushButton* m_adopt = nullptr;      // shown while the file holds the accuracy rule
    QLineEdit* m_printMessage = nullptr; // says that the report is printing
    common::PrintFlow m_printFlow;
};

} // namespace kiroku
