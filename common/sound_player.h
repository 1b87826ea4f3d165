// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace common {

// Plays a wave file without waiting; a new sound cuts off the one before.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // False when the file cannot be opened as a wave file.
    virtual bool play(const QString& path) = 0;
};

// Checks that a file holds a RIFF/WAVE sound we can play. Every player,
// the sound module's among them, asks this before playing.
bool isPlayableWave(const QString& path);

} // namespace common
