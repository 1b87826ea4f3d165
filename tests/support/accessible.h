// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a screen reader reads from a control.

#include <QAbstractButton>
#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

#include <optional>

inline QString accessibleName(QWidget* w)
{
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
    return i ? i->text(QAccessible::Name) : QStringLiteral("<no interface>");
}
inline QString accessibleValue(QWidget* w)
{
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
    return i ? i->text(QAccessible::Value) : QStringLiteral("<no interface>");
}

// The visible text of a button, label or group box (which a reader names it
// by when there is one); nothing for other controls.
inline std::optional<QString> visibleText(QWidget* w)
{
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    return std::nullopt;
}
