// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a program as a command and reads back what it printed and wrote.
#pragma once

#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

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

// The command refuses the arguments: that status, one line on standard error
// that says `says`, and nothing written to its working folder or to an
// output given as "@/…" (the @ standing for a fresh folder).
inline void checkRefused(const QString& program, QStringList arguments, int status,
                         const QString& says)
{
    QTemporaryDir dir;
    arguments.replaceInStrings(u"@"_qs, dir.path());
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path()); // where a default output would go
    const auto r = runCommand(program, arguments);
    QDir::setCurrent(before);
    QCOMPARE(r.status, status);
    QCOMPARE(r.err.count(u'\n'), 1);
    QVERIFY2(r.err.contains(says), qPrintable(r.err));
    QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

} // namespace test_support
