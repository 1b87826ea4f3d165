// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/pictures.h"

#include <QFileInfo>
#include <QImageReader>

namespace common {

namespace {
QPixmap readPicture(const QString& path)
{
    QImageReader bySuffix(path, QFileInfo(path).suffix().toLatin1());
    bySuffix.setAutoDetectImageFormat(false);
    QImage image = bySuffix.read();
    if (image.isNull()) image = QImageReader(path).read();
    return QPixmap::fromImage(std::move(image));
}
} // namespace

QString doubleSizeName(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString base = dot > name.lastIndexOf(u'/') ? name.left(dot) : name;
    return base + QStringLiteral("@2x.png");
}

QPixmap loadDoubleSize(const QString& path)
{
    QPixmap picture = QFileInfo::exists(path) ? readPicture(path) : QPixmap();
    if (!picture.isNull()) picture.setDevicePixelRatio(2.0);
    return picture;
}

QPixmap loadPicture(const QString& path, qreal devicePixelRatio)
{
    if (devicePixelRatio > 1.0) {
        QPixmap picture = loadDoubleSize(doubleSizeName(path));
        if (!picture.isNull()) return picture;
    }
    return readPicture(path);
}

QIcon glyphIcon(const QString& path, qreal devicePixelRatio)
{
    QIcon icon(readPicture(path));
    if (devicePixelRatio > 1.0) {
        const QPixmap big = loadDoubleSize(doubleSizeName(path));
        if (!big.isNull()) icon.addPixmap(big);
    }
    return icon;
}

} // namespace common
