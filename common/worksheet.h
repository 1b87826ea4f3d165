// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace common {

// A worksheet to print: its font and the lines of its two sheets, the
// problems and then the same problems with their answers.
struct Worksheet {
    QString font;
    int points = 0;
    QStringList problems;
    QStringList answers;
};

} // namespace common
