#pragma once

#include <QByteArray>
#include <QDir>
#include <QProcess>
#include <QStringList>

// What one run of quillmark-cli gave. The test names the program with
// QUILLMARK_CLI, as its build gives it.
struct CliRun {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

// Runs quillmark-cli in folder to its end; an exit by a signal reads as -1.
inline CliRun Cli(const QStringList& arguments, const QString& folder = QDir::currentPath())
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(QUILLMARK_CLI), arguments);
    if (!process.waitForFinished(30000))
        qFatal("quillmark-cli did not finish");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}
