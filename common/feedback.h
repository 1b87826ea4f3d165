// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/asset_locator.h"

#include <QSet>
#include <QString>

class QLabel;
class QWidget;

namespace common {

class Dialogs;
class SoundPlayer;

// Pictures and sounds of the drill feedback. A file that cannot be loaded or
// played never stops the caller: it is reported once per file and run in a
// warning box naming it, and the caller goes on with its next step.
class Feedback {
public:
    Feedback(Dialogs& dialogs, SoundPlayer& sound, AssetLocator locator = {});

    // What the child is shown: the mascot at rest, or the verdict on an answer.
    enum class Cue { kMascot, kRight, kWrong };

    // Shows the cue's picture in the label and plays its sound (the mascot
    // has none); false when the picture could not be shown.
    bool give(QLabel* picture, Cue cue);

    // Loads a picture by bare name into the label; false when it failed.
    bool showPicture(QLabel* image, const QString& name);
    bool playSound(const QString& name);

    AssetLocator& locator() { return m_locator; }
    void setReportParent(QWidget* parent) { m_parent = parent; }

private:
    void reportOnce(const QString& name);

    Dialogs& m_dialogs;
    SoundPlayer& m_sound;
    AssetLocator m_locator;
    QWidget* m_parent = nullptr;
    QSet<QString> m_reported;
};

} // namespace common
