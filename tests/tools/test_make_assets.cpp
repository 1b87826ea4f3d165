// SPDX-License-Identifier: GPL-3.0-or-later
// Checks what make_assets produced for the programs (pictures, sounds, help,
// glyph resources) and the encoders it is built from.

#include "tools/make_assets/asset_art.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QStringDecoder>
#include <QTextDocument>
#include <QtTest>

#include <cmath>

namespace {

enum Ink { kWhite, kPink, kRed, kBlue, kYellow, kGreen, kOrange };

// In Ink order. Pink needs blue clearly above green, so that the soft edge
// of a red stroke (green equal to blue) never counts as pink.
bool isInk(QRgb c, Ink ink)
{
    const int r = qRed(c), g = qGreen(c), b = qBlue(c);
    const bool matches[] = {r >= 245 && g >= 245 && b >= 245,
                            r >= 200 && g < 200 && b >= g + 20 && b < r,
                            r >= 180 && g < 90 && b < 90,
                            b >= 170 && r < 100 && g < 150,
                            r >= 200 && g >= 170 && b < 80,
                            g >= 130 && r < 90 && b < 130,
                            r >= 230 && g >= 110 && g < 190 && b < 80};
    return matches[ink];
}

// Opaque pixels of that ink; see-through pixels of icons do not count.
int countInk(const QImage& image, Ink ink)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qAlpha(image.pixel(x, y)) >= 200 && isInk(image.pixel(x, y), ink);
    return n;
}

quint32 le16(const QByteArray& b, int at)
{
    return quint32(uchar(b[at])) | quint32(uchar(b[at + 1])) << 8;
}
quint32 le32(const QByteArray& b, int at) { return le16(b, at) | le16(b, at + 2) << 16; }

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString runtimePath(const QString& name)
{
    return QDir(qEnvironmentVariable("APP_RUNTIME_DIR")).filePath(name);
}

// Test pattern over a palette of `colours` entries, touching every entry.
QImage patternIndexed8(int w, int h, int colours)
{
    QImage image(w, h, QImage::Format_Indexed8);
    QVector<QRgb> table;
    for (int i = 0; i < colours; ++i)
        table.append(qRgb((i * 37) & 255, (i * 91 + 11) & 255, 255 - i));
    image.setColorTable(table);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, uint((x * 7 + y * 13) % colours));
    return image;
}

} // namespace

Q_DECLARE_METATYPE(Ink)

class TestMakeAssets : public QObject {
    Q_OBJECT

private slots:
    void bmpFiles_data();
    void bmpFiles();
    void bmpRoundTrip_data();
    void bmpRoundTrip();
    void quantiser_data();
    void quantiser();
    void wave_data();
    void wave();
    void glyphs_data();
    void glyphs();
    void helpDocument_data();
    void helpDocument();
};

void TestMakeAssets::bmpFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Ink>("wanted");
    QTest::addColumn<QList<Ink>>("forbidden");
    QTest::newRow("mascot") << "mascot.bmp" << kPink << QList<Ink>{kRed, kBlue};
    QTest::newRow("maru") << "maru1.bmp" << kRed << QList<Ink>{kBlue, kPink};
    QTest::newRow("batu") << "batu1.bmp" << kBlue << QList<Ink>{kRed, kPink};
}

void TestMakeAssets::bmpFiles()
{
    QFETCH(QString, name);
    QFETCH(Ink, wanted);
    QFETCH(QList<Ink>, forbidden);
    const QByteArray b = readFile(runtimePath(name));
    QVERIFY2(b.size() > 54, qPrintable(name + " missing or truncated"));
    QCOMPARE(b.left(2), QByteArray("BM"));
    QCOMPARE(le32(b, 2), quint32(b.size()));
    QCOMPARE(le32(b, 14), 40u);
    QCOMPARE(le32(b, 18), 81u);
    QCOMPARE(qAbs(qint32(le32(b, 22))), 81);
    QCOMPARE(le16(b, 28), 8u);
    QCOMPARE(le32(b, 30), 0u); // uncompressed
    const quint32 used = le32(b, 46) == 0 ? 256 : le32(b, 46);
    QVERIFY(used <= 256);
    QCOMPARE(le32(b, 10), 54 + 4 * used);
    QCOMPARE(le32(b, 10) + 84 * 81, quint32(b.size())); // 81 rows padded to 84 bytes

    const QImage image = QImage::fromData(b, "BMP");
    QCOMPARE(image.size(), QSize(81, 81));
    QCOMPARE(image.format(), QImage::Format_Indexed8);
    QVERIFY2(countInk(image, kWhite) > 81 * 81 / 2, "mostly white ground");
    QCOMPARE(image.pixel(0, 0), qRgb(255, 255, 255));
    QVERIFY(countInk(image, wanted) >= 300);
    for (Ink ink : forbidden) QCOMPARE(countInk(image, ink), 0);
}

void TestMakeAssets::bmpRoundTrip_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("colours");
    // Widths around the 4-byte row padding, and palettes small and full.
    QTest::newRow("81x81, 256") << 81 << 81 << 256;
    QTest::newRow("1x1, 1") << 1 << 1 << 1;
    QTest::newRow("3x2, 2") << 3 << 2 << 2;
    QTest::newRow("4x5, 16") << 4 << 5 << 16;
    QTest::newRow("6x7, 200") << 6 << 7 << 200;
}

void TestMakeAssets::bmpRoundTrip()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, colours);
    const QImage source = patternIndexed8(width, height, colours);
    const QByteArray bytes = art::encodeBmp8(source);
    QCOMPARE(le16(bytes, 28), 8u); // stays 8-bit however small the palette
    const QImage back = QImage::fromData(bytes, "BMP");
    QCOMPARE(back.size(), source.size());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            QVERIFY2(back.pixel(x, y) == source.pixel(x, y),
                     qPrintable(QString("at %1,%2").arg(x).arg(y)));
}

void TestMakeAssets::quantiser_data()
{
    QTest::addColumn<QImage>("source");
    QTest::addColumn<int>("maxError"); // per channel; 0 = must be exact
    QImage few(20, 10, QImage::Format_RGB32);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) few.setPixel(x, y, qRgb(x * 10, y * 20, 77));
    QTest::newRow("200 colours kept exactly") << few << 0;
    QImage mascot(81, 81, QImage::Format_RGB32);
    art::drawMascot(mascot);
    QTest::newRow("mascot drawing") << mascot << 24;
}

void TestMakeAssets::quantiser()
{
    QFETCH(QImage, source);
    QFETCH(int, maxError);
    const QImage out = art::toIndexed8(source);
    QCOMPARE(out.format(), QImage::Format_Indexed8);
    QCOMPARE(out.size(), source.size());
    QVERIFY(out.colorCount() <= 256);
    int worst = 0;
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x) {
            const QRgb a = source.pixel(x, y), b = out.pixel(x, y);
            worst = std::max({worst, qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b)),
                              qAbs(qBlue(a) - qBlue(b))});
        }
    QVERIFY2(worst <= maxError, qPrintable(QString("worst channel error %1").arg(worst)));
    // A pure white ground must stay pure white.
    if (source.pixel(0, 0) == qRgb(255, 255, 255)) QCOMPARE(out.pixel(0, 0), qRgb(255, 255, 255));
}

void TestMakeAssets::wave_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("minCrossings"); // zero crossings per second tell the pitch
    QTest::addColumn<int>("maxCrossings");
    QTest::newRow("chime") << "maru1.wav" << 1200 << 8000;
    QTest::newRow("buzz") << "batu1.wav" << 150 << 600;
}

void TestMakeAssets::wave()
{
    QFETCH(QString, name);
    QFETCH(int, minCrossings);
    QFETCH(int, maxCrossings);
    const QByteArray b = readFile(runtimePath(name));
    QVERIFY2(b.size() > 44, qPrintable(name + " missing or truncated"));
    QCOMPARE(b.left(4), QByteArray("RIFF"));
    QCOMPARE(le32(b, 4), quint32(b.size() - 8));
    QCOMPARE(b.mid(8, 8), QByteArray("WAVEfmt "));
    QCOMPARE(le32(b, 16), 16u);
    QCOMPARE(le16(b, 20), 1u); // PCM
    QCOMPARE(le16(b, 22), 1u); // mono
    QCOMPARE(le32(b, 24), 22050u);
    QCOMPARE(le32(b, 28), 22050u * 2);
    QCOMPARE(le16(b, 32), 2u);
    QCOMPARE(le16(b, 34), 16u);
    QCOMPARE(b.mid(36, 4), QByteArray("data"));
    QCOMPARE(le32(b, 40), quint32(b.size() - 44));

    const int n = (b.size() - 44) / 2;
    const double seconds = double(n) / 22050;
    QVERIFY2(seconds > 0.1 && seconds < 1.0, qPrintable(QString::number(seconds)));
    int peak = 0, crossings = 0;
    for (int i = 0; i < n; ++i) {
        const qint16 s = qint16(le16(b, 44 + 2 * i));
        peak = std::max(peak, qAbs(int(s)));
        if (i > 0 && (s >= 0) != (qint16(le16(b, 42 + 2 * i)) >= 0)) ++crossings;
    }
    QVERIFY2(peak < 32767 && peak > 8000, qPrintable(QString("peak %1").arg(peak)));
    const double perSecond = crossings / seconds;
    QVERIFY2(perSecond >= minCrossings && perSecond <= maxCrossings,
             qPrintable(QString("%1 crossings/s").arg(perSecond)));
}

void TestMakeAssets::glyphs_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("size");
    QTest::addColumn<Ink>("ground");
    QTest::addColumn<Ink>("accent");
    const QDir dir(QStringLiteral(GLYPH_DIR));
    QTest::newRow("help resource") << ":/glyphs/help.png" << 33 << kBlue << kYellow;
    QTest::newRow("print resource") << ":/glyphs/print.png" << 33 << kGreen << kWhite;
    QTest::newRow("numira icon") << dir.filePath("numira.png") << 128 << kPink << kOrange;
    QTest::newRow("bairo icon") << dir.filePath("bairo.png") << 128 << kPink << kGreen;
}

void TestMakeAssets::glyphs()
{
    QFETCH(QString, path);
    QFETCH(int, size);
    QFETCH(Ink, ground);
    QFETCH(Ink, accent);
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), QSize(size, size));
    QVERIFY2(qAlpha(image.pixel(0, 0)) < 128, "rounded or see-through corner");
    QVERIFY(countInk(image, ground) >= size * size / 10);
    QVERIFY(countInk(image, accent) >= size * size / 30);
}

void TestMakeAssets::helpDocument_data()
{
    QTest::addColumn<QString>("phrase");
    for (const char* p : {"もんだいえらび", "けってい",     "せいかいをだす",
                          "つぎのもんだい", "はじめから",   "もんだいすうをきめる",
                          "おしまい",       "たしざん",     "ひきざん",
                          "かけざん",       "わりざん",     "九九",
                          "１のだん",       "９のだん",     "ぜんぶのだん",
                          "０をいれる",     "リターンキー", "てん",
                          "3...2",          "0.5",          "保存されません"})
        QTest::newRow(p) << QString::fromUtf8(p);
}

void TestMakeAssets::helpDocument()
{
    QFETCH(QString, phrase);
    const QByteArray bytes = readFile(runtimePath("numira.hlp"));
    QVERIFY2(!bytes.isEmpty(), "numira.hlp missing beside the programs");
    QCOMPARE(bytes,
             readFile(QDir(qEnvironmentVariable("APP_SOURCE_DIR")).filePath("assets/numira.hlp")));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString html = utf8(bytes);
    QVERIFY2(!utf8.hasError(), "not valid UTF-8");
    QVERIFY(!html.contains("<img", Qt::CaseInsensitive));
    // The phrase must be readable text, not hidden in markup.
    QTextDocument doc;
    doc.setHtml(html);
    QVERIFY(doc.toPlainText().contains(phrase));
}

QTEST_MAIN(TestMakeAssets)
#include "test_make_assets.moc"
