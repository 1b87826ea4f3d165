// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/drill/records_session.h"

#include "common/dialogs.h"
#include "records/drill/records_place.h"
#include "records/drill/records_writer.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace common {

RecordsSession::RecordsSession(Dialogs& dialogs, const QString& file, const QString& server)
    : m_dialogs(dialogs)
{
    if (!file.isEmpty()) m_writer = std::make_unique<records::RecordsWriter>(file, server);
}

RecordsSession::~RecordsSession() = default;

QString RecordsSession::fileInUse()
{
    return records::recordsOn() ? records::recordsFile() : QString();
}

QString RecordsSession::serverInUse()
{
    return records::recordsOn() ? records::recordsServer() : QString();
}

RecordsService& RecordsSession::service()
{
    return m_writer ? static_cast<RecordsService&>(*m_writer) : nullRecords();
}

void RecordsSession::flush()
{
    if (m_writer) m_writer->flush();
}

void RecordsSession::startAfterFirstPaint(QWidget& window)
{
    if (!m_writer) return;
    m_window = &window;
    window.installEventFilter(this);
}

bool RecordsSession::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::Paint) {
        m_window->removeEventFilter(this);
        // Once the whole first paint is done, children included.
        QTimer::singleShot(0, this, [this] { open(); });
    }
    return QObject::eventFilter(watched, event);
}

void RecordsSession::open()
{
    QPointer<RecordsSession> self(this);
    m_writer->open([self](const records::OpenedRecords& opened) {
        // Called on the writer's thread; the question is asked on the window's.
        QMetaObject::invokeMethod(
            self.data(),
            [self, opened] {
                if (self) self->askWhoPlays(opened);
            },
            Qt::QueuedConnection);
    });
}

void RecordsSession::askWhoPlays(const records::OpenedRecords& opened)
{
    if (opened.children.size() < 2) return; // one child is chosen by the writer
    QStringList names;
    for (const records::Child& c : opened.children) names << c.nickname;
    const int taken = m_dialogs.pick(m_window, QStringLiteral("だれがやるの？"), names);
    // Closed without a name: this time nothing is recorded.
    if (taken >= 0) m_writer->chooseChild(opened.children.at(taken).id);
}

} // namespace common
