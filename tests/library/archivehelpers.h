#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// Writes a gzip-compressed tar archive with the given (path, content) entries through
// libarchive, for archives that the editor itself would never write.
bool writeRawArchive(const QString &path, const QList<QPair<QByteArray, QByteArray>> &entries,
                     bool gzip = true);
// The entry paths of an archive, in order (empty on failure).
QStringList entryPaths(const QString &path);
QByteArray readFile(const QString &path);
bool writeFile(const QString &path, const QByteArray &data);
