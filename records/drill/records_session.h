// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A drill's records from start to end. With records off it is the null
// service and touches no file. With records on it opens the file on the
// writer's thread once the window has painted, and then asks who is playing
// when there are two children or more; with one child it asks nothing.

#include "records/model/records_service.h"

#include <QObject>
#include <QString>

#include <memory>

class QWidget;

namespace common {

class Dialogs;

namespace records {
class RecordsWriter;
struct OpenedRecords;
} // namespace records

class RecordsSession : public QObject {
public:
    // `file` empty: records off. mainly the place of records::recordsFile().
    // `server`: a school's server (a libpq service name) the answers go on
    // to; then the child is the login and nobody is asked.
    RecordsSession(Dialogs& dialogs, const QString& file, const QString& server = {});
    ~RecordsSession() override;

    // The records as the program sets them: off, or on in the usual place;
    // and the school's server they go on to, if any.
    static QString fileInUse();
    static QString serverInUse();

    RecordsService& service();
    // Opens the records once `window` has painted, and asks over it.
    void startAfterFirstPaint(QWidget& window);
    // Waits until what was recorded so far is written (tests, benchmarks).
    void flush();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void open();
    void askWhoPlays(const records::OpenedRecords& opened);

    Dialogs& m_dialogs;
    QWidget* m_window = nullptr;
    std::unique_ptr<records::RecordsWriter> m_writer;
};

} // namespace common
