#include "toolrunner.h"

#include <QProcess>
#include <QProcessEnvironment>

namespace
{

ToolRun finish(QProcess &p, const QStringList &arguments, const QByteArray *input = nullptr)
{
    p.start(QStringLiteral(KDR_TOOL_PATH), arguments);
    if (input) {
        p.write(*input);
        p.closeWriteChannel();
    }
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

} // namespace

ToolRun runTool(const QStringList &arguments)
{
    QProcess p;
    return finish(p, arguments);
}

#ifdef Q_OS_UNIX
ToolRun runTool(const QStringList &arguments, const std::function<void()> &childSetup)
{
    QProcess p;
    p.setChildProcessModifier(childSetup);
    return finish(p, arguments);
}
#endif

ToolRun runToolWithInput(const QStringList &arguments, const QByteArray &input)
{
    QProcess p;
    return finish(p, arguments, &input);
}

ToolRun runToolInLanguage(const QString &language, const QStringList &arguments)
{
    return runToolWithVariable(QStringLiteral("LANGUAGE"), language, arguments);
}

ToolRun runToolWithVariable(const QString &name, const QString &value, const QStringList &arguments)
{
    // Through the process environment: a child modifier may share the parent's memory.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(name, value);
    QProcess p;
    p.setProcessEnvironment(env);
    return finish(p, arguments);
}
