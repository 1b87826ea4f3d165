// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt Multimedia player, built as the module the programs load at their
// first sound: a wave file played without waiting, a new sound cutting off
// the one before, and silence where there is no audio output.
#include "common/sound_player.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include <memory>

namespace {

class MultimediaSoundPlayer final : public common::SoundPlayer {
public:
    bool play(const QString& path) override
    {
        if (!common::isPlayableWave(path)) return false;
        if (m_silent) return true;
        // A fresh effect for every sound. One effect replayed with stop() and
        // play() is heard only now and then on PulseAudio (or seconds late,
        // over the next answer), while a new one sounds within a frame or
        // two: the decoded file stays in Qt's sample cache, so only the
        // stream is new. An effect closes its stream when its sound ends,
        // so nothing stays open between answers; ending the one before cuts
        // off its sound.
        m_playing.reset();
        m_playing = std::make_unique<QSoundEffect>();
        m_playing->setSource(QUrl::fromLocalFile(path));
        m_playing->play();
        return true;
    }

private:
    // Asked once, as the module is loaded: the connection to the sound
    // server is made then, not at the first answer.
    const bool m_silent = QMediaDevices::audioOutputs().isEmpty();
    std::unique_ptr<QSoundEffect> m_playing;
};

} // namespace

extern "C" Q_DECL_EXPORT common::SoundPlayer* appCreateSoundPlayer()
{
    return new MultimediaSoundPlayer;
}
