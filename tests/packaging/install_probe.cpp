// SPDX-License-Identifier: GPL-3.0-or-later
// Copied into an installed tree beside the programs and started from another
// working directory, it runs the programs' own lookup (AssetLocator and the
// sound module search of QtSoundPlayer) under a program's name, so a test can
// see that every file a program reads later in a drill (sounds, help, the
// sound module) is found in the installed layout, not only the mascot shown
// at start-up.
//
//   install_probe [--files-only] <ApplicationName> <tree root> <file>...
//
// Prints where each file was found; exits 0 only when every file was found
// inside the tree root and (unless --files-only) the sound module loaded
// from there.
#include "common/asset_locator.h"
#include "common/qt_sound_player.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments();
    const bool filesOnly = args.size() > 1 && args[1] == QLatin1String("--files-only");
    if (filesOnly) args.removeAt(1);
    QTextStream out(stdout);
    if (args.size() < 4) {
        out << "usage: install_probe [--files-only] <ApplicationName> <tree root> <file>...\n";
        return 2;
    }
    QApplication::setApplicationName(args[1]);
    const QString root = QDir(args[2]).canonicalPath() + u'/';

    int failures = 0;
    QString sound;
    const common::AssetLocator locator;
    for (const QString& name : args.mid(3)) {
        const QString path = locator.find(name);
        const bool inside = !path.isEmpty() && QDir(path).canonicalPath().startsWith(root);
        out << name << ": " << (path.isEmpty() ? QStringLiteral("not found") : path)
            << (inside || path.isEmpty() ? "" : " (outside the tree)") << '\n';
        if (!inside) ++failures;
        if (inside && sound.isEmpty() && name.endsWith(QLatin1String(".wav"))) sound = path;
    }

    // The module is looked for beside the executable and in ../lib/<program>;
    // the probe's own folder holds no module, so loading it proves the latter.
    if (!sound.isEmpty() && !filesOnly) {
        common::QtSoundPlayer player;
        const bool played = player.play(sound);
        out << "sound module: " << (player.moduleLoaded() ? "loaded" : "not loaded") << '\n';
        if (!played || !player.moduleLoaded()) ++failures;
    }
    return failures == 0 ? 0 : 1;
}
