// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Pictures read from files, each with its drawing at twice the size for
// screens with two device pixels to the point. A file is read by the reader
// its suffix names first, so that no image plugin is loaded (probing the
// plugins costs a few milliseconds at start-up); a file whose content does
// not match its suffix is then read by content.

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace common {

// The name of a picture's drawing at twice the size: "mascot@2x.png" for
// "mascot.bmp".
QString doubleSizeName(const QString& name);

// A picture for a screen of the given device pixel ratio: above 1 its 2x
// drawing where there is one (marked so that it covers the same points),
// otherwise the file itself. At 1x the 2x drawing is never read. A null
// pixmap when the file cannot be read.
QPixmap loadPicture(const QString& path, qreal devicePixelRatio = 1.0);

// The 2x drawing at that path, marked so that it covers the points of the
// 1x picture; null when there is none.
QPixmap loadDoubleSize(const QString& path);

// A button glyph from a file, with its 2x drawing on dense screens.
QIcon glyphIcon(const QString& path, qreal devicePixelRatio);

} // namespace common
