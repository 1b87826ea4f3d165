#include "common/feedback.h"

#include "common/dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QPixmap>
#include <QSoundEffect>
#include <QUrl>

namespace common {

AssetLocator::AssetLocator()
{
    m_folders << QString();
    const QString appDir = QCoreApplication::applicationDirPath();
    if (!appDir.isEmpty()) {
        m_folders << appDir;
        m_folders << QDir(appDir).filePath("../share/" +
                                           QCoreApplication::applicationName().toLower());
    }
}

QString AssetLocator::find(const QString& name) const
{
    for (const QString& folder : m_folders) {
        const QString path = folder.isEmpty() ? QDir::current().filePath(name)
                                              : QDir(folder).filePath(name);
        const QFileInfo info(path);
        if (info.isFile() && info.isReadable()) return info.absoluteFilePath();
    }
    return {};
}

bool isPlayableWave(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = file.read(12);
    return head.size() == 12 && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE";
}

QtSoundPlayer::QtSoundPlayer() = default;
QtSoundPlayer::~QtSoundPlayer() = default;

bool QtSoundPlayer::silent() const
{
    if (m_silent < 0) {
        m_silent = qEnvironmentVariableIsSet("APP_SILENT_AUDIO") ||
                   QMediaDevices::audioOutputs().isEmpty();
    }
    return m_silent != 0;
}

bool QtSoundPlayer::play(const QString& path)
{
    if (!isPlayableWave(path)) return false;
    if (silent()) return true;
    if (!m_effect) m_effect = std::make_unique<QSoundEffect>();
    m_effect->stop();
    if (m_source != path) {
        // Setting a new source stops and replaces the sound before.
        m_effect->setSource(QUrl::fromLocalFile(path));
        m_source = path;
    }
    m_effect->play();
    return true;
}

bool RecordingSoundPlayer::play(const QString& path)
{
    if (!isPlayableWave(path)) return false;
    played.append(QFileInfo(path).fileName());
    return true;
}

Feedback::Feedback(Dialogs& dialogs, SoundPlayer& sound, AssetLocator locator)
    : m_dialogs(dialogs), m_sound(sound), m_locator(std::move(locator))
{
}

bool Feedback::showPicture(QLabel* image, const QString& name)
{
    const QString path = m_locator.find(name);
    QPixmap picture;
    if (path.isEmpty() || !picture.load(path)) {
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
