// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/feedback.h"

#include "common/asset_names.h"
#include "common/dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLibrary>
#include <QPixmap>
#include <QStandardPaths>
#include <QUrl>

namespace common {

AssetLocator::AssetLocator()
{
    m_folders << QString();
    const QString appDir = QCoreApplication::applicationDirPath();
    const QString program = QCoreApplication::applicationName().toLower();
    if (!appDir.isEmpty()) {
        m_folders << appDir;
        m_folders << QDir(appDir).filePath("../share/" + program);
    }
    // Then <data dir>/<program> of XDG_DATA_HOME and XDG_DATA_DIRS, so that an
    // installed program finds its files wherever it was started from.
    if (!program.isEmpty())
        m_folders << QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, program,
                                               QStandardPaths::LocateDirectory);
}

QString AssetLocator::find(const QString& name) const
{
    for (const QString& folder : m_folders) {
        const QString path =
            folder.isEmpty() ? QDir::current().filePath(name) : QDir(folder).filePath(name);
        const QFileInfo info(path);
        if (info.isFile() && info.isReadable()) return info.absoluteFilePath();
    }
    return {};
}

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

bool QtSoundPlayer::play(const QString& path)
{
    if (!isPlayableWave(path)) return false;
    if (qEnvironmentVariableIsSet("APP_SILENT_AUDIO")) return true;
    if (!m_loaded) {
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
    return m_player ? m_player->play(path) : true;
}

Feedback::Feedback(Dialogs& dialogs, SoundPlayer& sound, AssetLocator locator)
    : m_dialogs(dialogs), m_sound(sound), m_locator(std::move(locator))
{
}

QPixmap loadPicture(const QString& path)
{
    QImageReader bySuffix(path, QFileInfo(path).suffix().toLatin1());
    bySuffix.setAutoDetectImageFormat(false);
    QImage image = bySuffix.read();
    if (image.isNull()) image = QImageReader(path).read();
    return QPixmap::fromImage(std::move(image));
}

QString doubleSizeName(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString base = dot > name.lastIndexOf(u'/') ? name.left(dot) : name;
    return base + QStringLiteral("@2x.png");
}

namespace {
QPixmap loadDoubleSize(const QString& path)
{
    QPixmap picture = QFileInfo::exists(path) ? loadPicture(path) : QPixmap();
    if (!picture.isNull()) picture.setDevicePixelRatio(2.0);
    return picture;
}
} // namespace

QPixmap loadPicture(const QString& path, qreal devicePixelRatio)
{
    if (devicePixelRatio > 1.0) {
        QPixmap picture = loadDoubleSize(doubleSizeName(path));
        if (!picture.isNull()) return picture;
    }
    return loadPicture(path);
}

QIcon glyphIcon(const QString& path, qreal devicePixelRatio)
{
    QIcon icon(loadPicture(path));
    if (devicePixelRatio > 1.0) {
        const QPixmap big = loadDoubleSize(doubleSizeName(path));
        if (!big.isNull()) icon.addPixmap(big);
    }
    return icon;
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
