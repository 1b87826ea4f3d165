// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/sound_player.h"

#include <QFile>

namespace common {

bool isPlayableWave(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = file.read(12);
    return head.size() == 12 && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE";
}

} // namespace common
