#pragma once

#include "rawarchive.h"
#include "testfiles.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The entry paths of an archive, in order (empty on failure).
QStringList entryPaths(const QString &path);
