// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the pictures and sounds the programs load by bare name into the
// runtime folder, and the button glyphs and desktop icons into a glyph folder
// (the glyphs are then compiled into the programs as Qt resources). The menu
// icons of the given pixel sizes go to <glyph folder>/icons/<N>x<N>/ and
// their scalable drawing to <glyph folder>/icons/scalable/.
//
//   make_assets <runtime folder> <glyph folder> [<icon size>...]

#include "asset_art.h"
#include "common/asset_names.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>
#include <functional>

namespace {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        std::fprintf(stderr, "make_assets: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool writePng(const QDir& dir, const QString& name, int size,
              const std::function<void(QImage&)>& draw)
{
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
                 const std::function<void(QImage&)>& draw)
{
    const QString base = QString::fromLatin1(name).section(u'.', 0, 0);
    return writePng(dir, base + QStringLiteral("@2x.png"), 2 * size, draw);
}

// Feedback pictures: 81 x 81, stored as 256-colour BMP, and drawn again at 2x.
bool writeBmp(const QDir& dir, const char* name, const std::function<void(QImage&)>& draw)
{
    QImage image(81, 81, QImage::Format_RGB32);
    draw(image);
    return writeFile(dir.filePath(name), art::encodeBmp8(art::toIndexed8(image))) &&
           writeDouble(dir, name, 81, draw);
}

// Button glyphs: 33 x 33 PNG, and drawn again at 2x.
bool writeGlyph(const QDir& dir, const char* name, const std::function<void(QImage&)>& draw)
{
    return writePng(dir, QString::fromLatin1(name), 33, draw) && writeDouble(dir, name, 33, draw);
}

// A menu icon at every size asked for, each drawn at that size rather than
// scaled from another, and as SVG from the same painting.
bool writeIcons(const QDir& dir, const QString& name, const QList<int>& sizes,
                void (*paint)(QPainter&, qreal))
{
    bool ok = true;
    for (const int size : sizes) {
        const QString folder = QStringLiteral("icons/%1x%1").arg(size);
        ok &= dir.mkpath(folder) && writePng(dir, folder + u'/' + name + QStringLiteral(".png"),
                                             size, [&](QImage& image) {
                                                 image.fill(Qt::transparent);
                                                 QPainter p(&image);
                                                 paint(p, size);
                                             });
    }
    const QString svgPath =
        dir.filePath(QStringLiteral("icons/scalable/") + name + QStringLiteral(".svg"));
    if (!dir.mkpath(QStringLiteral("icons/scalable"))) return false;
    QSvgGenerator svg;
    svg.setFileName(svgPath);
    svg.setViewBox(QRectF(0, 0, 128, 128)); // no size: readers take the view box's
    svg.setTitle(name);
    QPainter p;
    if (!p.begin(&svg)) {
        std::fprintf(stderr, "make_assets: cannot write %s\n", qPrintable(svgPath));
        return false;
    }
    paint(p, 128);
    return p.end() && ok;
}

} // namespace

int main(int argc, char* argv[])
{
    // Runs during the build, where there is often no display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = app.arguments();
    bool usage = args.size() < 3;
    QList<int> iconSizes;
    for (const QString& arg : args.mid(3)) {
        iconSizes.append(arg.toInt()); // 0 when not a number
        usage |= iconSizes.back() < 1;
    }
    if (usage) {
        std::fprintf(stderr,
                     "usage: make_assets <runtime folder> <glyph folder> [<icon size>...]\n");
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
    ok &= writePng(glyphs, QStringLiteral("kiroku.png"), 128, art::drawKirokuIcon);
    ok &= writeIcons(glyphs, QStringLiteral("numira"), iconSizes, art::paintNumiraIcon);
    ok &= writeIcons(glyphs, QStringLiteral("bairo"), iconSizes, art::paintBairoIcon);
    ok &= writeIcons(glyphs, QStringLiteral("kiroku"), iconSizes, art::paintKirokuIcon);
    return ok ? 0 : 1;
}
