// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a program as a command and reads back what it printed and wrote.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace test_support {

struct CommandResult {
    int status = -1;
    QString out;
    QString err;
};

// Runs the program with the arguments and a C locale (messages in English);
// a status of -1 when it did not finish in time.
inline CommandResult runCommand(const QString& program, const QStringList& arguments)
{
    QProcess p;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("LANG", "C.UTF-8");
    env.remove("LC_ALL");
    env.remove("LC_MESSAGES");
    env.remove("DISPLAY");
    p.setProcessEnvironment(env);
    p.start(program, arguments);
    CommandResult r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

} // namespace test_support
