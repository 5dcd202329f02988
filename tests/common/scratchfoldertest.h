#pragma once

// A test object with a folder of its own for the files its cases write, removed at the end.

#include <QObject>
#include <QTemporaryDir>

class ScratchFolderTest : public QObject
{
    Q_OBJECT

public:
    ScratchFolderTest()
    {
        // Made before the first case: no case could run without it.
        if (!m_dir.isValid())
            qFatal("no scratch folder: %s", qPrintable(m_dir.errorString()));
    }

protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};
