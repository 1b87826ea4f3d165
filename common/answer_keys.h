// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace common {

// Turns the key events of a drill's answer field into the drill's calls: every
// key pressed, and every key really released. A held key repeats as
// release-and-press pairs marked auto-repeat; those releases do not count, so
// holding Return judges an answer once.
class AnswerKeys final : public QObject {
public:
    AnswerKeys(QWidget* field, std::function<void(int key)> pressed,
               std::function<void(int key)> released);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(int)> m_pressed;
    std::function<void(int)> m_released;
};

} // namespace common
