// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/database/server_opener.h"

#include "records/database/migrations.h"

#include <QRegularExpression>
#include <QVariant>

namespace common::records {

OpeningReport openServer(Connection& connection, const QString& service)
{
    connection.close();
    connection.setErrorText({});
    connection.choose(serverDialect());
    OpeningReport report;
    report.service = service;
    const auto problem = [&](ServerProblem why, const QString& error) {
        report.problem = why;
        connection.fail(QStringLiteral("records server '%1'").arg(service), error);
        connection.close();
        report.detail = connection.errorText();
        return report;
    };
    // Qt hands the options to libpq as they are: a name is letters, digits,
    // dots, dashes and underscores, and nothing else can come in with it.
    static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9_.-]{1,63}$"));
    if (!name.match(service).hasMatch())
        return problem(ServerProblem::kName, QStringLiteral("not a service name"));
    const bool opened = connection.open(serverDialect(), [&](QSqlDatabase& db) {
        // A server that does not answer is given up after a few seconds; a
        // drill sends from a thread of its own, but its end waits for that.
        db.setConnectOptions(QStringLiteral("service=") + service +
                             QStringLiteral(";connect_timeout=4"));
    });
    if (!opened) {
        const QString error = connection.errorText().simplified();
        return problem(error.contains(QLatin1String("password")) ||
                               error.contains(QLatin1String("authentication")) ||
                               error.contains(QLatin1String("role"))
                           ? ServerProblem::kRefused
                           : ServerProblem::kUnreachable,
                       error);
    }
    QSqlQuery q(connection.database());
    if (!q.exec(QStringLiteral("SELECT version FROM records_version")) || !q.next()) {
        const QString error = q.lastError().text().simplified();
        q = QSqlQuery();
        return problem(ServerProblem::kNoTables, error);
    }
    const int version = q.value(0).toInt();
    q = QSqlQuery();
    if (version < schemaVersion())
        return problem(
            ServerProblem::kOlderTables,
            QStringLiteral("schema %1, this program needs %2").arg(version).arg(schemaVersion()));
    // A later version's server is read as it is, never written.
    report.opening = version > schemaVersion() ? Opening::kReadOnly : Opening::kOpened;
    return report;
}

} // namespace common::records
