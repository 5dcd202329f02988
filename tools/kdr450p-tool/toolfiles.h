#pragma once

// Files as the tool's commands take them: "-" stands for standard input or output, and an
// output is checked before any long transfer, so that a transfer never ends in a file that
// cannot be written.

#include <QString>

#include <memory>

class QTemporaryFile;

// A file argument: the path the command works on and the name its messages give it.
class ToolFile
{
public:
    QString path() const { return m_path; }
    QString name() const { return m_name; } // the argument, or "standard input" / "output"

protected:
    ToolFile();
    ~ToolFile();

    std::unique_ptr<QTemporaryFile> m_temporary; // stands in for "-"
    QString m_path;
    QString m_name;
};

class InputFile : public ToolFile
{
public:
    // "-" copies standard input into a temporary file. False with the reason.
    bool open(const QString &argument, QString *error);
    bool isStdin() const { return bool(m_temporary); }
};

class OutputFile : public ToolFile
{
public:
    // A regular file that may be written, or a new name in a writable folder; "-" collects
    // the output in a temporary file for standard output. False with the reason.
    bool prepare(const QString &argument, QString *error);
    bool isStdout() const { return bool(m_temporary); }
    // For "-": copies what was written to path() to standard output.
    bool deliver(QString *error);
};

// Why path cannot be saved to (not a regular file, no write permission, no such folder), or
// empty when it can.
QString writeRefusal(const QString &path);
