// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The path of a child (or of a school's class) for an adult to set: its
// steps in order, each with whether it is skipped, passed or pinned as the
// day's step, moved up and down, skipped, pinned and put back to the
// default order, with the buttons or from the keyboard alone; and the day's
// length beside it. Each change goes straight to the owner, which saves it
// and shows what the records now hold.

#include "records/model/path.h"

#include <QStringList>
#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace common {
class Dialogs;
}

namespace kiroku {

class PathEditor : public QWidget {
public:
    // What the editor asks of its owner: each a change saved, false when it
    // could not be (the adult is then told); and the plan shown again as
    // the records hold it (showPlan), after every change.
    struct Owner {
        QWidget* window; // of the dialogs
        std::function<bool(const common::records::Path&)> setPath;
        std::function<bool()> resetPath;
        std::function<bool(int problems)> setDayProblems;
        std::function<void()> showAgain;
    };
    PathEditor(common::Dialogs& dialogs, Owner owner, QWidget* parent = nullptr);

    // `passed`: the steps passed; `editable`: whether the adult may change
    // anything (a file open for writing, a teacher's class).
    void showPlan(const common::records::Path& path, const QStringList& passed, int dayProblems,
                  bool editable);
    // Nothing to show (no child, no records).
    void showNothing();

private:
    void showSteps();
    void updateButtons();
    // The step chosen moved `by` places, skipped or not, pinned or not.
    void move(int by);
    void skip(bool skipped);
    void pin(bool pinned);
    void resetPath();
    void changeDayProblems(int index);
    void save(const common::records::Path& path);
    int chosenRow() const;

    common::Dialogs& m_dialogs;
    Owner m_owner;
    common::records::Path m_path;
    QStringList m_passed;
    bool m_editable = false;
    QString m_chosen; // the step chosen, kept across the plan shown again
    QTreeWidget* m_steps = nullptr;
    QLabel* m_current = nullptr;
    QComboBox* m_dayProblems = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
    QPushButton* m_skip = nullptr;
    QPushButton* m_pin = nullptr;
    QPushButton* m_reset = nullptr;
};

} // namespace kiroku
