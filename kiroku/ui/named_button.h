// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

namespace kiroku {

// A button that screen readers (and the tests) know by its text.
inline QPushButton* namedButton(QWidget* parent, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setAccessibleName(text);
    return button;
}

} // namespace kiroku
