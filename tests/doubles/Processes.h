// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>

namespace tunefold::test {

struct Run
{
    int status;
    QByteArray out, err;
};

// Runs program to its end in folder (the test's own if empty), standard
// output to stdoutFile if given. Numbers in the environment's locale use a
// decimal comma, which the tools must not take up.
inline Run run(const QString &program, const QStringList &arguments, const QString &folder = {},
               const QString &stdoutFile = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LC_ALL"));
    env.insert(QStringLiteral("LC_NUMERIC"), QStringLiteral("de_DE.UTF-8"));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    if (!stdoutFile.isEmpty())
        process.setStandardOutputFile(stdoutFile);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        qFatal("%s did not finish", qPrintable(program));
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace tunefold::test
