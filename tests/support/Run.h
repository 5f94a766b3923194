#pragma once

// Another program run to its end, as a user runs it from a shell.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>

namespace navcal::test {

struct Run {
    int code = -1; // -1 when it did not end by itself
    QString out, err;
};

// `program` run in `folder` for a minute at most, this process's events served
// meanwhile (a stand-in service of the test's may be asked by it).
inline Run run(const QString& program, const QStringList& arguments,
               const QProcessEnvironment& env = {}, const QString& folder = {}) {
    QProcess p;
    p.setProcessEnvironment(env.isEmpty() ? QProcessEnvironment::systemEnvironment() : env);
    p.setWorkingDirectory(folder);
    p.start(program, arguments);
    const QDeadlineTimer minute(60000);
    while (!p.waitForFinished(20) && p.state() != QProcess::NotRunning && !minute.hasExpired())
        QCoreApplication::processEvents();
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished(5000);
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace navcal::test
