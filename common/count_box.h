// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

class QCheckBox;
class QWidget;

namespace common {

class Dialogs;

// The input box in which a child fixes the number of problems.
struct CountBoxTexts {
    QString caption;
    QString prompt;
    QString preset; // also what Cancel gives
};

// Asks for the number: the typed text read as a whole number and kept within
// 1..kMaxProblems. Text that is no whole number gets the standard error box
// naming it, and no number.
std::optional<int> askProblemCount(Dialogs& dialogs, QWidget* parent, const CountBoxTexts& texts);

// The fixed-count tick shows whether a number is fixed, whatever the click
// did to it, without clicking it again.
void showCountFixed(QCheckBox* tick, bool fixed);

} // namespace common
