// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/app_start.h"

#include "common/fonts.h"
#include "common/pictures.h"
#include "common/version.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>

namespace common {

namespace {
QString& title()
{
    static QString text;
    return text;
}
} // namespace

QString applicationTitle() { return title(); }

bool installQtTranslation(QCoreApplication& app, const QString& folder)
{
    // Lives as long as the program: Qt asks it for every text it draws.
    static QTranslator translator;
    const QString dir =
        folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    if (!translator.load(QStringLiteral("qtbase_ja"), dir)) {
        std::fprintf(stderr,
                     "%s: Qt's Japanese texts (qtbase_ja.qm) not found in %s; "
                     "Qt's own buttons stay in English\n",
                     qPrintable(QCoreApplication::applicationName()), qPrintable(dir));
        return false;
    }
    app.installTranslator(&translator);
    return true;
}

void nameApplication(const QString& name, const QString& ownVersion)
{
    QCoreApplication::setApplicationName(name);
    const QString package = QLatin1String(kPackageVersion);
    QCoreApplication::setApplicationVersion(
        ownVersion.isEmpty() ? package
                             : ownVersion + QStringLiteral(" (package ") + package + u')');
}

void startApplication(QApplication& app, const AppIdentity& identity)
{
    nameApplication(identity.name);
    QGuiApplication::setDesktopFileName(identity.desktopFile);
    title() = identity.title;
    installQtTranslation(app);
    installJapaneseFonts();
    QApplication::setFont(designedFont(identity.fontName, identity.fontPixels));
    // Read by its suffix: QIcon's own reading of a file probes every image
    // plugin, which costs start-up time and memory.
    if (!identity.icon.isEmpty()) QApplication::setWindowIcon(QIcon(loadPicture(identity.icon)));
}

} // namespace common
