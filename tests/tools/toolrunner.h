#pragma once

#include <QByteArray>
#include <QStringList>

#include <functional>

struct ToolRun {
    int exitCode = -1;
    bool crashed = false;
    QByteArray out;
    QByteArray err;

    // Error output is one line, newline-terminated.
    bool oneErrorLine() const { return err.endsWith('\n') && err.count('\n') == 1; }
};

// Runs the kdr450p-tool binary with the arguments.
ToolRun runTool(const QStringList &arguments);
#ifdef Q_OS_UNIX
// The same, with childSetup run in the child before exec.
ToolRun runTool(const QStringList &arguments, const std::function<void()> &childSetup);
#endif

// Runs it with input on its standard input.
ToolRun runToolWithInput(const QStringList &arguments, const QByteArray &input);

// Runs it with LANGUAGE set to the given list of languages ("de", "en", "fr:de").
ToolRun runToolInLanguage(const QString &language, const QStringList &arguments);

// Runs it with one more environment variable set.
ToolRun runToolWithVariable(const QString &name, const QString &value,
                            const QStringList &arguments);
