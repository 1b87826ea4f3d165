// SPDX-License-Identifier: GPL-3.0-or-later
#include "kiroku/ui/children_model.h"

namespace kiroku {

const common::records::Child* ChildrenModel::chosen() const
{
    return m_chosen >= 0 && m_chosen < m_children.size() ? &m_children[m_chosen] : nullptr;
}

int ChildrenModel::rowOf(qint64 id) const
{
    for (int row = 0; row < m_children.size(); ++row)
        if (m_children[row].id == id) return row;
    return -1;
}

void ChildrenModel::reset(const QList<common::records::Child>& children, qint64 chosen)
{
    m_children = children;
    m_chosen = rowOf(chosen);
    emit childrenReset();
}

void ChildrenModel::choose(int row)
{
    if (row < -1 || row >= m_children.size() || row == m_chosen) return;
    m_chosen = row;
    emit chosenChanged(row);
}

} // namespace kiroku
