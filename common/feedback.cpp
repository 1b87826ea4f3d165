// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/feedback.h"

#include "common/asset_names.h"
#include "common/dialogs.h"
#include "common/pictures.h"
#include "common/sound_player.h"

#include <QLabel>
#include <QPixmap>

namespace common {

Feedback::Feedback(Dialogs& dialogs, SoundPlayer& sound, AssetLocator locator)
    : m_dialogs(dialogs), m_sound(sound), m_locator(std::move(locator))
{
}

bool Feedback::give(QLabel* picture, Cue cue)
{
    namespace files = assets;
    switch (cue) {
    case Cue::kMascot: return showPicture(picture, QLatin1String(files::kMascotPicture));
    case Cue::kRight: {
        const bool shown = showPicture(picture, QLatin1String(files::kRightPicture));
        playSound(QLatin1String(files::kRightSound));
        return shown;
    }
    case Cue::kWrong: {
        const bool shown = showPicture(picture, QLatin1String(files::kWrongPicture));
        playSound(QLatin1String(files::kWrongSound));
        return shown;
    }
    }
    return false;
}

bool Feedback::showPicture(QLabel* image, const QString& name)
{
    const QString path = m_locator.find(name);
    QPixmap picture;
    // On a dense screen the 2x drawing, found like the picture itself.
    if (!path.isEmpty() && image->devicePixelRatioF() > 1.0)
        picture = loadDoubleSize(m_locator.find(doubleSizeName(name)));
    if (picture.isNull() && (path.isEmpty() || (picture = loadPicture(path)).isNull())) {
        reportOnce(name);
        return false;
    }
    image->setPixmap(picture);
    return true;
}

bool Feedback::playSound(const QString& name)
{
    const QString path = m_locator.find(name);
    if (path.isEmpty() || !m_sound.play(path)) {
        reportOnce(name);
        return false;
    }
    return true;
}

void Feedback::reportOnce(const QString& name)
{
    if (m_reported.contains(name)) return;
    m_reported.insert(name);
    m_dialogs.warning(m_parent, QStringLiteral("ファイル %1 を読み込めません。").arg(name));
}

} // namespace common
