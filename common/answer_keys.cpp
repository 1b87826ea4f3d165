// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/answer_keys.h"

#include <QKeyEvent>
#include <QWidget>

namespace common {

AnswerKeys::AnswerKeys(QWidget* field, std::function<void(int key)> pressed,
                       std::function<void(int key)> released)
    : QObject(field), m_pressed(std::move(pressed)), m_released(std::move(released))
{
    field->installEventFilter(this);
}

bool AnswerKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        m_pressed(static_cast<QKeyEvent*>(event)->key());
    } else if (event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) m_released(key->key());
    }
    return QObject::eventFilter(watched, event);
}

} // namespace common
