#include "toolfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

namespace
{

struct ToolFilesText {
    Q_DECLARE_TR_FUNCTIONS(ToolFilesText)
};

bool copyStream(FILE *from, QFile &to)
{
    char buffer[65536];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, from)) > 0)
        if (to.write(buffer, qint64(n)) != qint64(n))
            return false;
    return !ferror(from) && to.flush();
}

} // namespace

ToolFile::ToolFile() = default;
ToolFile::~ToolFile() = default;

bool InputFile::open(const QString &argument, QString *error)
{
    m_name = argument;
    m_path = argument;
    if (argument != QLatin1String("-"))
        return true;
    m_name = ToolFilesText::tr("standard input");
    m_temporary = std::make_unique<QTemporaryFile>();
    if (!m_temporary->open() || !copyStream(stdin, *m_temporary)) {
        *error = ToolFilesText::tr("cannot read standard input: %1")
                     .arg(m_temporary->errorString());
        return false;
    }
    m_path = m_temporary->fileName();
    m_temporary->close();
    return true;
}

bool OutputFile::prepare(const QString &argument, QString *error)
{
    m_name = argument;
    m_path = argument;
    if (argument == QLatin1String("-")) {
        m_name = ToolFilesText::tr("standard output");
        m_temporary = std::make_unique<QTemporaryFile>();
        if (!m_temporary->open()) {
            *error = ToolFilesText::tr("cannot make a temporary file: %1")
                         .arg(m_temporary->errorString());
            return false;
        }
        m_path = m_temporary->fileName();
        m_temporary->close();
        return true;
    }
    const QString refusal = writeRefusal(argument);
    if (!refusal.isEmpty()) {
        *error = refusal;
        return false;
    }
    return true;
}

bool OutputFile::deliver(QString *error)
{
    if (!m_temporary)
        return true;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = ToolFilesText::tr("cannot read back the output: %1").arg(file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()) ||
        fflush(stdout) != 0) {
        *error = ToolFilesText::tr("cannot write to standard output");
        return false;
    }
    return true;
}

QString writeRefusal(const QString &path)
{
    const QFileInfo info(path);
    // The file is replaced through a new file in its folder, so the folder must take one.
    const QFileInfo folder(info.absolutePath());
    if (info.exists()) {
        if (!info.isFile())
            return ToolFilesText::tr("cannot write %1: not a regular file").arg(path);
        if (!info.isWritable())
            return ToolFilesText::tr("cannot write %1: no permission to write it").arg(path);
    } else if (!folder.isDir()) {
        return ToolFilesText::tr("cannot write %1: the folder %2 does not exist")
            .arg(path, QDir::toNativeSeparators(folder.filePath()));
    }
    if (!folder.isWritable())
        return ToolFilesText::tr("cannot write %1: no permission to write in its folder")
            .arg(path);
    return QString();
}
