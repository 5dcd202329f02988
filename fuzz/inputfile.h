#pragma once

#include <QTemporaryFile>

#include <cstddef>
#include <cstdint>

// The readers under test take file names: each input is written to one reused temp file.
// Returns an empty name when no temp file could be made.
inline QString writeFuzzInputFile(const uint8_t *data, size_t size)
{
    static QTemporaryFile file;
    static const bool opened = file.open();
    if (!opened)
        return QString();
    file.resize(0);
    file.seek(0);
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.flush();
    return file.fileName();
}
