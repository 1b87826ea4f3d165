// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/count_box.h"

#include "common/dialogs.h"
#include "common/drill_rules.h"
#include "common/whole_number.h"

#include <QCheckBox>
#include <QSignalBlocker>

namespace common {

std::optional<int> askProblemCount(Dialogs& dialogs, QWidget* parent, const CountBoxTexts& texts)
{
    const QString typed = dialogs.inputBox(parent, texts.caption, texts.prompt, texts.preset);
    const std::optional<int> number = parseWholeNumber(typed);
    if (!number) {
        dialogs.error(parent, QStringLiteral("'%1' は整数ではありません").arg(typed));
        return std::nullopt;
    }
    return clampProblemCount(*number);
}

void showCountFixed(QCheckBox* tick, bool fixed)
{
    const QSignalBlocker block(tick);
    tick->setChecked(fixed);
}

} // namespace common
