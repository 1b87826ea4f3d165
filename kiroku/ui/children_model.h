// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The children the records window shows, and which of them is chosen: one
// model that the list of children, the child page's chooser and the class
// page all follow, so that choosing a child anywhere chooses it everywhere.

#include "records/model/records_types.h"

#include <QList>
#include <QObject>

namespace kiroku {

class ChildrenModel : public QObject {
    Q_OBJECT
public:
    const QList<common::records::Child>& children() const { return m_children; }
    // The chosen child's row, -1 when none is.
    int chosenRow() const { return m_chosen; }
    const common::records::Child* chosen() const;
    int rowOf(qint64 id) const;

    // New children, the one of id `chosen` chosen (none when it is not among them).
    void reset(const QList<common::records::Child>& children, qint64 chosen);
    void choose(int row);

signals:
    // After reset(): the children and the chosen one are new.
    void childrenReset();
    // Another child (or none, -1) is chosen.
    void chosenChanged(int row);

private:
    QList<common::records::Child> m_children;
    int m_chosen = -1;
};

} // namespace kiroku
