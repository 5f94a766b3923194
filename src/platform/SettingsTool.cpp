#include "platform/SettingsTool.h"

#include <QProcess>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace navcal::platform {

ToolRun runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
#ifdef Q_OS_WIN
    // A console tool started by a program without a console would flash one.
    process.setCreateProcessArgumentsModifier(
        [](QProcess::CreateProcessArguments* arguments) { arguments->flags |= CREATE_NO_WINDOW; });
#endif
    process.start(program, arguments);
    ToolRun run;
    // A hung tool must not hold the run: it is ended and counts as failed.
    if (!process.waitForStarted(20000) || !process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished(1000);
        run.err = process.errorString();
        return run;
    }
    run.finished = process.exitStatus() == QProcess::NormalExit;
    run.code = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    return run;
}

QString toolFailure(const QString& program, const ToolRun& run) {
    QString why = run.err.section(QLatin1Char('\n'), 0, 0);
    if (why.isEmpty())
        why = run.finished ? QStringLiteral("exit code %1").arg(run.code)
                           : QStringLiteral("did not finish");
    return QStringLiteral("%1: %2").arg(program, why);
}

} // namespace navcal::platform
