// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/widget_builders.h"

#include "common/answer_keys.h"
#include "common/pictures.h"

#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace common {

namespace {
// A control that shows a text, named, its font set before its text.
template <typename Control>
Control* withText(QWidget* parent, const char* name, const QString& text, const QFont& font)
{
    auto* control = new Control(parent);
    control->setObjectName(QLatin1String(name));
    control->setFont(font);
    control->setText(text);
    return control;
}

template <typename Control>
Control* placedWithText(QWidget* parent, const char* name, QRect geometry, const QString& text,
                        const QFont& font)
{
    auto* control = withText<Control>(parent, name, text, font);
    control->setGeometry(geometry);
    return control;
}
} // namespace

QLineEdit* readOnlyField(QWidget* parent, const char* name, QRect geometry, const QFont* font)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    if (font) edit->setFont(*font);
    edit->setGeometry(geometry);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);
    return edit;
}

QLineEdit* answerField(QWidget* parent, QRect geometry, const QFont& font,
                       std::function<void(int key)> pressed, std::function<void()> released)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("answerEdit"));
    edit->setFont(font);
    edit->setGeometry(geometry);
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    new AnswerKeys(edit, std::move(pressed), [released = std::move(released)](int) { released(); });
    return edit;
}

QLabel* textLabel(QWidget* parent, const char* name, QPoint at, const QString& text,
                  const QFont& font)
{
    auto* label = withText<QLabel>(parent, name, text, font);
    label->adjustSize();
    label->move(at);
    return label;
}

QPushButton* pushButton(QWidget* parent, const char* name, QRect geometry, const QString& text,
                        const QFont& font)
{
    auto* button = placedWithText<QPushButton>(parent, name, geometry, text, font);
    button->setAutoDefault(false);
    return button;
}

QCheckBox* checkBox(QWidget* parent, const char* name, QRect geometry, const QString& text,
                    const QFont& font)
{
    return placedWithText<QCheckBox>(parent, name, geometry, text, font);
}

QFrame* raisedPanel(QWidget* parent, QRect geometry)
{
    auto* frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setGeometry(geometry);
    return frame;
}

QLabel* framedPicture(QWidget* parent, QPoint at)
{
    QFrame* panel = raisedPanel(parent, {at, QSize(97, 97)});
    auto* picture = new QLabel(panel);
    picture->setObjectName(QStringLiteral("picture"));
    picture->setGeometry(8, 8, 81, 81);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return picture;
}

void showGlyph(QAbstractButton* button, const QString& glyph)
{
    if (!QFile::exists(glyph)) return;
    button->setIcon(glyphIcon(glyph, button->devicePixelRatioF()));
    button->setIconSize({33, 33});
}

void nameForScreenReaders(std::initializer_list<std::pair<QWidget*, const char16_t*>> names)
{
    for (const auto& [widget, name] : names) widget->setAccessibleName(QString::fromUtf16(name));
}

void chainTabs(const QList<QWidget*>& chain)
{
    for (qsizetype i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

} // namespace common
