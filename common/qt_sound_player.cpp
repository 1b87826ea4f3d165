// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/qt_sound_player.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QTimer>

namespace common {

QtSoundPlayer::QtSoundPlayer(QStringList moduleFolders) : m_folders(std::move(moduleFolders))
{
    if (m_folders.isEmpty()) {
        const QString appDir = QCoreApplication::applicationDirPath();
        m_folders << appDir
                  << appDir + QStringLiteral("/../lib/") +
                         QCoreApplication::applicationName().toLower();
    }
}
QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::prepare()
{
    if (m_loaded || qEnvironmentVariableIsSet("APP_SILENT_AUDIO")) return;
    m_loaded = true;
    for (const QString& folder : m_folders) {
        QLibrary module(folder + QStringLiteral("/appsound"));
        using Create = SoundPlayer* (*)();
        if (auto create = reinterpret_cast<Create>(module.resolve("appCreateSoundPlayer"))) {
            m_player.reset(create());
            break;
        }
    }
}

void QtSoundPlayer::prepareSoon(int milliseconds)
{
    QTimer::singleShot(milliseconds, [this] { prepare(); });
}

bool QtSoundPlayer::play(const QString& path)
{
    if (!isPlayableWave(path)) return false;
    if (qEnvironmentVariableIsSet("APP_SILENT_AUDIO")) return true;
    prepare();
    return m_player ? m_player->play(path) : true;
}

} // namespace common
