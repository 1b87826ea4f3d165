// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QApplication;
class QCoreApplication;

namespace common {

// Who a program is, for its start-up.
struct AppIdentity {
    QString name;        // the program's own name, e.g. "Numira"
    QString title;       // its application title, shown on boxes without a caption
    QString desktopFile; // its menu entry, so the desktop matches the window to it
    QString fontName;    // the main window's designed face and pixel size: message
    int fontPixels = 0;  // and input boxes use it too, so no other font loads at start
    QString icon;        // the windows' icon, a picture file or resource
};

// Everything both programs do before their first window: names, the Japanese
// fonts and Qt's own texts in Japanese. The application title is kept for the
// boxes and not given to Qt as its display name, which would have Qt append
// it to every window title on the screen.
void startApplication(QApplication& app, const AppIdentity& identity);

// The program's name and version: the package's, or a program's own
// version beside the package's.
void nameApplication(const QString& name, const QString& ownVersion = {});

// Loads Qt's Japanese translation (its buttons, the print dialog) from the
// given folder, or Qt's translations folder when empty. Where it is missing
// the program goes on in English and says so in one line on standard error.
bool installQtTranslation(QCoreApplication& app, const QString& folder = {});

// The application title set at start-up ("" before).
QString applicationTitle();

} // namespace common
