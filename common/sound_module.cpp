// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt Multimedia player, built as the module the programs load at their
// first sound: a wave file played without waiting, a new sound cutting off
// the one before, and silence where there is no audio output.
#include "common/feedback.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include <map>
#include <memory>

namespace {

class MultimediaSoundPlayer final : public common::SoundPlayer {
public:
    bool play(const QString& path) override
    {
        if (!common::isPlayableWave(path)) return false;
        if (m_silent < 0) m_silent = QMediaDevices::audioOutputs().isEmpty();
        if (m_silent) return true;
        if (m_playing) m_playing->stop();
        // One effect per file, loaded once: a right answer must sound at once.
        auto& effect = m_effects[path];
        if (!effect) {
            effect = std::make_unique<QSoundEffect>();
            effect->setSource(QUrl::fromLocalFile(path));
        }
        effect->play();
        m_playing = effect.get();
        return true;
    }

private:
    int m_silent = -1;
    std::map<QString, std::unique_ptr<QSoundEffect>> m_effects;
    QSoundEffect* m_playing = nullptr;
};

} // namespace

extern "C" Q_DECL_EXPORT common::SoundPlayer* appCreateSoundPlayer()
{
    return new MultimediaSoundPlayer;
}
