#pragma once

#include "rawarchive.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The entry paths of an archive, in order (empty on failure).
QStringList entryPaths(const QString &path);
QByteArray readFile(const QString &path);
bool writeFile(const QString &path, const QByteArray &data);
