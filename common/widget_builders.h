// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The controls both drill windows build the same way, placed by pixel. Each
// builder sets the font before the text, so a text is laid out once.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>
#include <initializer_list>
#include <utility>

class QAbstractButton;
class QCheckBox;
class QFont;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace common {

// A read-only field that shows a value: reachable by the mouse, not by Tab.
// Without a font it keeps its parent's.
QLineEdit* readOnlyField(QWidget* parent, const char* name, QRect geometry,
                         const QFont* font = nullptr);

// The field the child types answers in: digits arrive as ASCII (no
// input-method composition), and its keys go to the drill through
// AnswerKeys.
QLineEdit* answerField(QWidget* parent, QRect geometry, const QFont& font,
                       std::function<void(int key)> pressed, std::function<void()> released);

// A label sized to its text, placed by its top-left corner.
QLabel* textLabel(QWidget* parent, const char* name, QPoint at, const QString& text,
                  const QFont& font);

// A push button that is never the default button.
QPushButton* pushButton(QWidget* parent, const char* name, QRect geometry, const QString& text,
                        const QFont& font);

QCheckBox* checkBox(QWidget* parent, const char* name, QRect geometry, const QString& text,
                    const QFont& font);

// A raised panel that groups controls.
QFrame* raisedPanel(QWidget* parent, QRect geometry);

// The feedback picture (81 x 81 pixels, drawn from its top-left corner) in
// its raised panel.
QLabel* framedPicture(QWidget* parent, QPoint at);

// A button's glyph, 33 pixels square, with its 2x drawing on dense screens.
// The glyph is compiled in when the asset tool has drawn it; without it the
// button simply shows no picture.
void showGlyph(QAbstractButton* button, const QString& glyph);

// Names a screen reader reads for controls without a text of their own.
void nameForScreenReaders(std::initializer_list<std::pair<QWidget*, const char16_t*>> names);

// Tab goes from each control to the next in the list.
void chainTabs(const QList<QWidget*>& chain);

} // namespace common
