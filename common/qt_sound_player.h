// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/sound_player.h"

#include <QStringList>

#include <memory>

namespace common {

// Qt Multimedia behind the interface. The multimedia player lives in a small
// module (appsound) loaded at the first sound, so that starting a program
// does not pay for the audio libraries. Without an audio output (a server,
// CI, APP_SILENT_AUDIO set, or the module missing) it checks the file and
// stays silent at once.
class QtSoundPlayer final : public SoundPlayer {
public:
    // Folders to look for the module in; by default beside the executable
    // and in the installed library folder.
    explicit QtSoundPlayer(QStringList moduleFolders = {});
    ~QtSoundPlayer() override;
    bool play(const QString& path) override;
    bool moduleLoaded() const { return m_player != nullptr; }

private:
    QStringList m_folders;
    bool m_loaded = false;
    std::unique_ptr<SoundPlayer> m_player;
};

} // namespace common
