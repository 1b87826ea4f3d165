// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

class QLabel;
class QWidget;

namespace common {

class Dialogs;

// Where the pictures, sounds and help are looked for, by bare file name: the
// working directory first, then beside the executable, then the installed
// data folder next to it (../share/<program>), then <program> in each XDG
// data folder.
class AssetLocator {
public:
    AssetLocator();
    explicit AssetLocator(QStringList folders) : m_folders(std::move(folders)) {}
    // Full path of the first readable file of that name, or empty.
    QString find(const QString& name) const;
    const QStringList& folders() const { return m_folders; }
    void setFolders(QStringList folders) { m_folders = std::move(folders); }

private:
    QStringList m_folders; // empty entry = the working directory at the time of the call
};

// Plays a wave file without waiting; a new sound cuts off the one before.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // False when the file cannot be opened as a wave file.
    virtual bool play(const QString& path) = 0;
};

// Checks that a file holds a RIFF/WAVE sound we can play.
bool isPlayableWave(const QString& path);

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

// Reads a picture file. The reader is named by the file's suffix first, so
// that no image plugin is loaded (probing the plugins costs a few
// milliseconds at start-up); a file whose content does not match its suffix
// is then read by content. A null pixmap when neither works.
QPixmap loadPicture(const QString& path);

// The name of a picture's drawing at twice the size, for screens with two
// device pixels to the point: "mascot@2x.png" for "mascot.bmp".
QString doubleSizeName(const QString& name);

// A picture for a screen of the given device pixel ratio: above 1 its 2x
// drawing where there is one (marked so that it covers the same points),
// otherwise the file itself. At 1x the 2x drawing is never read.
QPixmap loadPicture(const QString& path, qreal devicePixelRatio);

// A button glyph from a file, with its 2x drawing on dense screens.
QIcon glyphIcon(const QString& path, qreal devicePixelRatio);

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
