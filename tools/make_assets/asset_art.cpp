// SPDX-License-Identifier: GPL-3.0-or-later
#include "asset_art.h"

#include <QBuffer>
#include <QColor>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace art {

namespace {

// Palette of the rabbit; the ears and outline stay clearly pink at 81 px.
const QColor kOutlinePink(224, 80, 138);
const QColor kEarPink(255, 179, 204);
const QColor kInnerEarPink(255, 128, 170);
const QColor kCheekPink(255, 194, 214);
const QColor kNosePink(255, 111, 158);
const QColor kEyeDark(58, 38, 48);

const QColor kMaruRed(224, 40, 40);
const QColor kBatuBlue(32, 80, 216);

// Sets up antialiased drawing on a square grid of `units` per side.
void beginGrid(QPainter& p, const QImage& image, qreal units)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(image.width() / units, image.height() / units);
}

// Rabbit head on a 100 x 100 grid, whatever lies beneath it.
void paintRabbit(QPainter& p)
{
    const qreal outline = 3.5;

    // Ears first, so the head covers their roots.
    for (const int side : {-1, 1}) {
        p.save();
        p.translate(50 + side * 14, 28);
        p.rotate(side * 14);
        p.setPen(QPen(kOutlinePink, outline));
        p.setBrush(kEarPink);
        p.drawEllipse(QPointF(0, 0), 10, 24);
        p.setPen(Qt::NoPen);
        p.setBrush(kInnerEarPink);
        p.drawEllipse(QPointF(0, 2), 4.8, 16);
        p.restore();
    }

    p.setPen(QPen(kOutlinePink, outline));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(50, 64), 34, 29);

    p.setPen(Qt::NoPen);
    p.setBrush(kCheekPink);
    p.drawEllipse(QPointF(29, 74), 6, 3.8);
    p.drawEllipse(QPointF(71, 74), 6, 3.8);

    for (const int side : {-1, 1}) {
        const QPointF eye(50 + side * 12, 62);
        p.setBrush(kEyeDark);
        p.drawEllipse(eye, 4.2, 5.4);
        p.setBrush(Qt::white);
        p.drawEllipse(eye + QPointF(1.3, -1.9), 1.6, 1.6);
    }

    p.setBrush(kNosePink);
    p.drawEllipse(QPointF(50, 70.5), 3.8, 2.7);

    // A small "ω" mouth hanging under the nose.
    QPainterPath mouth;
    mouth.moveTo(50, 72.5);
    mouth.lineTo(50, 75);
    mouth.cubicTo(50, 79, 44.5, 79, 44, 75.5);
    mouth.moveTo(50, 75);
    mouth.cubicTo(50, 79, 55.5, 79, 56, 75.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kOutlinePink, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(mouth);
}

// Round badge in the lower right corner of a 128 x 128 icon.
void paintBadge(QPainter& p, const QColor& fill)
{
    p.setPen(QPen(Qt::white, 4));
    p.setBrush(fill);
    p.drawEllipse(QPointF(100, 100), 24, 24);
}

// ---- little-endian writers for the file headers ----

void put16(QByteArray& out, quint32 v)
{
    out.append(char(v & 0xff));
    out.append(char((v >> 8) & 0xff));
}

void put32(QByteArray& out, quint32 v)
{
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

// Scales to the given peak and rounds; the peak stays below full scale so
// nothing clips.
QVector<qint16> toPcm(const std::vector<double>& wave, double peak)
{
    double max = 0;
    for (double v : wave) max = std::max(max, std::abs(v));
    const double gain = max > 0 ? peak * 32767.0 / max : 0;
    QVector<qint16> pcm;
    pcm.reserve(qsizetype(wave.size()));
    for (double v : wave) pcm.append(qint16(std::lround(v * gain)));
    return pcm;
}

// Raised-cosine ramp from 0 to 1 over [0, length].
double ramp(double t, double length)
{
    if (t <= 0) return 0;
    if (t >= length) return 1;
    return 0.5 - 0.5 * std::cos(std::numbers::pi * t / length);
}

} // namespace

void drawMascot(QImage& image)
{
    image.fill(Qt::white);
    QPainter p(&image);
    beginGrid(p, image, 100);
    paintRabbit(p);
}

void drawMaru(QImage& image)
{
    image.fill(Qt::white);
    QPainter p(&image);
    beginGrid(p, image, 100);
    p.setPen(QPen(kMaruRed, 13));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(50, 50), 34, 34);
}

void drawBatu(QImage& image)
{
    image.fill(Qt::white);
    QPainter p(&image);
    beginGrid(p, image, 100);
    p.setPen(QPen(kBatuBlue, 14, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20, 20), QPointF(80, 80));
    p.drawLine(QPointF(80, 20), QPointF(20, 80));
}

void drawHelpGlyph(QImage& image)
{
    image.fill(Qt::transparent);
    QPainter p(&image);
    beginGrid(p, image, 33);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(42, 100, 208));
    p.drawRoundedRect(QRectF(0.5, 0.5, 32, 32), 6, 6);

    // The question mark is a stroked path, not text: no font is needed.
    const QColor yellow(255, 212, 0);
    QPainterPath hook;
    hook.moveTo(11, 12);
    hook.arcTo(QRectF(11, 6.5, 11, 11), 180, -225);
    hook.quadTo(16.5, 17.5, 16.5, 20.5);
    hook.lineTo(16.5, 21);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(yellow, 3.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(yellow);
    p.drawEllipse(QPointF(16.5, 26.2), 2.2, 2.2);
}

void drawPrintGlyph(QImage& image)
{
    image.fill(Qt::transparent);
    QPainter p(&image);
    beginGrid(p, image, 33);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(46, 154, 74));
    p.drawRoundedRect(QRectF(0.5, 0.5, 32, 32), 6, 6);

    // Sheet waiting at the back.
    p.setBrush(Qt::white);
    p.drawRect(QRectF(10, 4.5, 13, 9));
    // Printer body with a small lamp.
    p.setBrush(QColor(64, 70, 78));
    p.drawRoundedRect(QRectF(4.5, 12, 24, 11), 2.5, 2.5);
    p.setBrush(QColor(156, 255, 156));
    p.drawEllipse(QPointF(25.2, 15.2), 1.2, 1.2);
    // Printed sheet coming out at the front, with lines of text.
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 19, 15, 10));
    p.setPen(QPen(QColor(150, 150, 150), 1.1));
    p.drawLine(QPointF(11.5, 22.5), QPointF(21.5, 22.5));
    p.drawLine(QPointF(11.5, 25.5), QPointF(19, 25.5));
}

// The rabbit on a see-through 128-unit icon of `size` pixels, with a badge of
// that colour.
void paintIconBase(QPainter& p, qreal size, const QColor& badge)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 128, size / 128);
    p.save();
    p.translate(3, 0); // centres the 122-unit rabbit
    p.scale(1.22, 1.22);
    paintRabbit(p);
    p.restore();
    paintBadge(p, badge);
}

void paintNumiraIcon(QPainter& p, qreal size)
{
    paintIconBase(p, size, QColor(255, 150, 30));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(88, 96.5, 24, 7), 2, 2);
    p.drawRoundedRect(QRectF(96.5, 88, 7, 24), 2, 2);
}

void paintBairoIcon(QPainter& p, qreal size)
{
    paintIconBase(p, size, QColor(40, 160, 110));
    p.setPen(QPen(Qt::white, 3.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(93, 100), 10, 10);
    p.drawEllipse(QPointF(107, 100), 10, 10);
}

void paintKirokuIcon(QPainter& p, qreal size)
{
    paintIconBase(p, size, QColor(60, 110, 200));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(88, 101, 6, 9));
    p.drawRect(QRectF(97, 95, 6, 15));
    p.drawRect(QRectF(106, 89, 6, 21));
}

void drawNumiraIcon(QImage& image)
{
    image.fill(Qt::transparent);
    QPainter p(&image);
    paintNumiraIcon(p, image.width());
}

void drawBairoIcon(QImage& image)
{
    image.fill(Qt::transparent);
    QPainter p(&image);
    paintBairoIcon(p, image.width());
}

void drawKirokuIcon(QImage& image)
{
    image.fill(Qt::transparent);
    QPainter p(&image);
    paintKirokuIcon(p, image.width());
}

QImage toIndexed8(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, qint64> counts;
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) ++counts[line[x]];
    }
    // Most used first (the ground lands on index 0), ties by value so that the
    // same picture always gives the same file. A drawing of a few inks has
    // more than 256 colours only in the soft edges between them; those few
    // pixels take their nearest entry. Qt's own palette (a fixed colour cube)
    // would instead speckle the white ground with dither.
    QList<QRgb> palette = counts.keys();
    std::sort(palette.begin(), palette.end(), [&counts](QRgb a, QRgb b) {
        const qint64 ca = counts.value(a), cb = counts.value(b);
        return ca != cb ? ca > cb : a < b;
    });
    palette.resize(std::min<qsizetype>(palette.size(), 256));
    return rgb.convertToFormat(QImage::Format_Indexed8, palette);
}

QByteArray encodeBmp8(const QImage& indexed)
{
    Q_ASSERT(indexed.format() == QImage::Format_Indexed8);
    // Qt's writer stores 16 colours or fewer in 4 bits; a full table keeps
    // the file at 8 bits. The unused entries are black.
    QImage full = indexed;
    QList<QRgb> table = full.colorTable();
    table.resize(256, qRgb(0, 0, 0));
    full.setColorTable(table);
    // The writer copies whole rows; their padding is zeroed so that the same
    // picture always gives the same file.
    for (int y = 0; y < full.height(); ++y)
        std::fill(full.scanLine(y) + full.width(), full.scanLine(y) + full.bytesPerLine(), 0);
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    full.save(&buffer, "BMP");
    return out;
}

QVector<qint16> chimeSound()
{
    const double length = 0.6;
    const int n = int(length * kSampleRate);
    // A bell-like partial set: fundamental plus a little of the 2nd and 3rd.
    auto tone = [](double t, double freq, double start) {
        const double u = t - start;
        if (u < 0) return 0.0;
        const double env = ramp(u, 0.004) * std::exp(-u / 0.16);
        const double w = 2 * std::numbers::pi * freq * u;
        return env * (std::sin(w) + 0.3 * std::sin(2 * w) + 0.1 * std::sin(3 * w));
    };
    std::vector<double> wave(size_t(n), 0.0);
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / kSampleRate;
        // C6 then G6: a rising fifth sounds cheerful.
        const double tail = ramp(length - t, 0.03);
        wave[size_t(i)] = tail * (tone(t, 1046.5, 0.0) + tone(t, 1568.0, 0.09));
    }
    return toPcm(wave, 0.7);
}

QVector<qint16> buzzSound()
{
    const double length = 0.42;
    const double freq = 150;
    const int n = int(length * kSampleRate);
    std::vector<double> wave(size_t(n), 0.0);
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / kSampleRate;
        // Square-ish wave from its odd harmonics only, so it does not alias.
        double s = 0;
        for (int k = 1; k <= 11; k += 2) s += std::sin(2 * std::numbers::pi * k * freq * t) / k;
        const double env = ramp(t, 0.012) * ramp(length - t, 0.09) * (1.0 - 0.3 * t / length);
        wave[size_t(i)] = env * s;
    }
    return toPcm(wave, 0.6);
}

QByteArray encodeWav(const QVector<qint16>& samples, int sampleRate)
{
    const quint32 dataBytes = quint32(samples.size()) * 2;
    QByteArray out;
    out.reserve(int(44 + dataBytes));
    out.append("RIFF");
    put32(out, 36 + dataBytes);
    out.append("WAVE");
    out.append("fmt ");
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, quint32(sampleRate));
    put32(out, quint32(sampleRate) * 2); // bytes per second
    put16(out, 2);                       // bytes per sample frame
    put16(out, 16);                      // bits per sample
    out.append("data");
    put32(out, dataBytes);
    for (qint16 s : samples) put16(out, quint16(s));
    return out;
}

} // namespace art
