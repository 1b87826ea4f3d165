// Writes the pictures and sounds the programs load by bare name into the
// runtime folder, and the button glyphs and desktop icons into a glyph folder
// (the glyphs are then compiled into the programs as Qt resources).
//
//   make_assets <runtime folder> <glyph folder>

#include "asset_art.h"
#include "common/asset_names.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <functional>

namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        std::fprintf(stderr, "make_assets: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool writePng(const QDir& dir, const QString& name, int size,
              const std::function<void(QImage&)>& draw) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    draw(image);
    const QString path = dir.filePath(name);
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "make_assets: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// The same drawing at twice the size, for screens with two device pixels to
// the point: "name@2x.png" beside "name.<suffix>", where Qt looks for it.
bool writeDouble(const QDir& dir, const char* name, int size,
                 const std::function<void(QImage&)>& draw) {
    const QString base = QString::fromLatin1(name).section(u'.', 0, 0);
    return writePng(dir, base + QStringLiteral("@2x.png"), 2 * size, draw);
}

// Feedback pictures: 81 x 81, stored as 256-colour BMP, and drawn again at 2x.
bool writeBmp(const QDir& dir, const char* name, const std::function<void(QImage&)>& draw) {
    QImage image(81, 81, QImage::Format_RGB32);
    draw(image);
    return writeFile(dir.filePath(name), art::encodeBmp8(art::toIndexed8(image))) &&
           writeDouble(dir, name, 81, draw);
}

// Button glyphs: 33 x 33 PNG, and drawn again at 2x.
bool writeGlyph(const QDir& dir, const char* name, const std::function<void(QImage&)>& draw) {
    return writePng(dir, QString::fromLatin1(name), 33, draw) && writeDouble(dir, name, 33, draw);
}

} // namespace

int main(int argc, char* argv[]) {
    // Runs during the build, where there is often no display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: make_assets <runtime folder> <glyph folder>\n");
        return 2;
    }
    const QDir out(args[1]);
    const QDir glyphs(args[2]);
    if (!QDir().mkpath(out.path()) || !QDir().mkpath(glyphs.path())) {
        std::fprintf(stderr, "make_assets: cannot create the output folders\n");
        return 1;
    }

    bool ok = true;
    namespace files = common::assets;
    ok &= writeBmp(out, files::kMascotPicture, art::drawMascot);
    ok &= writeBmp(out, files::kRightPicture, art::drawMaru);
    ok &= writeBmp(out, files::kWrongPicture, art::drawBatu);
    ok &= writeFile(out.filePath(files::kRightSound), art::encodeWav(art::chimeSound()));
    ok &= writeFile(out.filePath(files::kWrongSound), art::encodeWav(art::buzzSound()));
    ok &= writeGlyph(glyphs, "help.png", art::drawHelpGlyph);
    ok &= writeGlyph(glyphs, "print.png", art::drawPrintGlyph);
    ok &= writePng(glyphs, QStringLiteral("numira.png"), 128, art::drawNumiraIcon);
    ok &= writePng(glyphs, QStringLiteral("bairo.png"), 128, art::drawBairoIcon);
    return ok ? 0 : 1;
}
