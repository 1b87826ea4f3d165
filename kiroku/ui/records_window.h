// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The adults' window on the records: whether the drills keep them at all and
// for how long, the children they are kept for, and how each child is
// getting on. Its pages sit in tabs, each a widget of its own over one model
// of the children (children_model.h): the list of children (children_tab.h),
// then one child's page with a chooser of the child (child_tab.h). Every
// handler asks what it needs through the dialog interface, calls the store
// and shows what the store now holds. A teacher looks at a school's server
// instead (records_place's recordsServer()): the first tab is then the whole
// class (class_tab.h), and nothing is written; the children there are the
// pupils' logins.

#include "common/print_flow.h"
#include "kiroku/ui/children_model.h"
#include "records/store/records_store.h"

#include <QString>
#include <QWidget>

class QCheckBox;
class QTabWidget;

namespace common {
class Dialogs;
}

namespace kiroku {

class ChildTab;
class ChildrenTab;
class ClassTab;

class RecordsWindow : public QWidget {
public:
    // `file`: the records file, opened at once when it is there; otherwise
    // it is made at the first child added or when records are turned on.
    // `pages`: what a child's report is printed on.
    RecordsWindow(common::Dialogs& dialogs, QString file, QWidget* parent = nullptr,
                  common::PageSurfaceFactory pages = common::printerPages());

private:
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
    // The children read again from the store, `current` chosen.
    void showChildren(qint64 current = 0);

    common::Dialogs& m_dialogs;
    QString m_file;
    QString m_service; // the school's server shown; empty for the family's file
    common::records::RecordsStore m_store;
    ChildrenModel m_children;
    QCheckBox* m_school = nullptr;
    QTabWidget* m_pages = nullptr;
    ChildrenTab* m_childrenTab = nullptr;
    ClassTab* m_classTab = nullptr;
    ChildTab* m_childTab = nullptr;
};

} // namespace kiroku
