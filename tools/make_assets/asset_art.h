// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The pictures, sounds and button glyphs of both drill programs, drawn and
// synthesised from code at build time so that no binary file lives in git.

#include <QByteArray>
#include <QImage>
#include <QVector>

class QPainter;

namespace art {

// Every draw function paints over the whole image, whatever its size; the
// artwork is laid out on a fixed grid and scaled to the image.

// Rabbit head with pink outline and ears, on white (the mascot picture).
void drawMascot(QImage& image);
// Bold red circle on white: the answer was right.
void drawMaru(QImage& image);
// Bold blue cross on white: the answer was wrong.
void drawBatu(QImage& image);
// Yellow question mark on a blue rounded square (help button).
void drawHelpGlyph(QImage& image);
// Printer with a white sheet on a green rounded square (print button).
void drawPrintGlyph(QImage& image);
// Desktop icons: the rabbit on transparent ground with a badge, a "+" for the
// arithmetic drill, two overlapping rings (common multiples) for the other
// and three rising bars for the records window.
void drawNumiraIcon(QImage& image);
void drawBairoIcon(QImage& image);
void drawKirokuIcon(QImage& image);
// The same icons painted on any device (an SVG generator, say) over a square
// of `size` units, leaving the ground untouched.
void paintNumiraIcon(QPainter& p, qreal size);
void paintBairoIcon(QPainter& p, qreal size);
void paintKirokuIcon(QPainter& p, qreal size);

// Reduces a drawing to at most 256 colours and returns a Format_Indexed8
// image: its colours exactly when it has no more than that; otherwise the 256
// most used, every other pixel taking the nearest of them.
QImage toIndexed8(const QImage& image);

// An uncompressed 8-bit BMP with a full 256-entry palette, by Qt's writer.
// The image must be Format_Indexed8.
QByteArray encodeBmp8(const QImage& indexed);

constexpr int kSampleRate = 22050;

// Two rising bell tones that fade out quickly: the answer was right.
QVector<qint16> chimeSound();
// A short low buzz with soft edges: the answer was wrong.
QVector<qint16> buzzSound();

// RIFF/WAVE file, PCM 16-bit mono.
QByteArray encodeWav(const QVector<qint16>& samples, int sampleRate = kSampleRate);

} // namespace art
