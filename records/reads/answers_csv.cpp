// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/reads/answers_csv.h"

#include "records/database/connection.h"
#include "records/messages/records_messages.h"

#include <QSaveFile>
#include <QSqlQuery>
#include <QVariant>

namespace common::records {

QByteArray answersCsv(const Connection& connection, qint64 child)
{
    QString text = messages::answersCsvHeader();
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    q.prepare(connection.dialect().answersCsvRows());
    q.addBindValue(child);
    if (!q.exec()) return {};
    while (q.next()) text += q.value(0).toString() + u'\n';
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

bool writeAnswersCsv(const Connection& connection, qint64 child, const QString& path,
                     QString* error)
{
    QSaveFile file(path);
    // A child's answers are the owner's alone, as the records file is.
    if (file.open(QIODevice::WriteOnly) &&
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
        file.write(answersCsv(connection, child)) >= 0 && file.commit())
        return true;
    if (error) *error = file.errorString();
    return false;
}

} // namespace common::records
