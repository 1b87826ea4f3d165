// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/sound_player.h"

#include <QStringList>

#include <memory>

namespace common {

// Qt Multimedia behind the interface. The multimedia player lives in a small
// module (appsound) loaded after the window shows or at the first sound, so
// that starting a program does not pay for the audio libraries. Without an
// audio output (a server, CI, APP_SILENT_AUDIO set, or the module missing) it
// checks the file and stays silent at once.
class QtSoundPlayer final : public SoundPlayer {
public:
    // Folders to look for the module in; by default beside the executable
    // and in the installed library folder.
    explicit QtSoundPlayer(QStringList moduleFolders = {});
    ~QtSoundPlayer() override;
    bool play(const QString& path) override;
    bool moduleLoaded() const { return m_player != nullptr; }

    // Loads the module and opens the audio output now (once), off the path
    // of an answer; play() does it itself when it was not done before.
    void prepare();
    // prepare() after the given time in the event loop: the programs call it
    // as their window shows, so that the module is loaded while the child
    // reads the first screen and the first answer sounds as soon as the rest.
    void prepareSoon(int milliseconds = 500);

private:
    QStringList m_folders;
    bool m_loaded = false;
    std::unique_ptr<SoundPlayer> m_player;
};

} // namespace common
