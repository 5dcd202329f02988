#include "toolrunner.h"

#include <QProcess>

ToolRun runTool(const QStringList &arguments, const std::function<void()> &childSetup)
{
    QProcess p;
    if (childSetup)
        p.setChildProcessModifier(childSetup);
    p.start(QStringLiteral(KDR_TOOL_PATH), arguments);
    ToolRun run;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        run.crashed = true;
        return run;
    }
    run.crashed = p.exitStatus() != QProcess::NormalExit;
    run.exitCode = p.exitCode();
    run.out = p.readAllStandardOutput();
    run.err = p.readAllStandardError();
    return run;
}
