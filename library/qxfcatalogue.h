#pragma once

#include "qxffixturefile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

// One .qxf file to read: where it is and the name it is reported under.
struct QxfSource {
    QString path;
    QString file;
};

struct QxfScanResult {
    QList<QxfFixture> fixtures;
    QList<QxfNote> skipped; // one per file that could not be read, with the reason
    int fileCount = 0;      // files found, read or skipped
    int modeCount() const;
};

// A catalogue of QLC+ fixture files spread over folders.
namespace QxfCatalogue
{

// The usual folders of the installed catalogue and of the user's own files, in that order.
QStringList systemFolders();
QString userFolder();

// The .qxf files under each folder (recursive, extension in any case), sorted by their path
// relative to it as plain code points, or the file itself when a file is named; in the order
// given. A name that is neither is reported in missing.
QList<QxfSource> collect(const QStringList &foldersOrFiles, QList<QxfNote> *missing = nullptr);

// Called on the scanning thread with each run of files read, in collection order.
using BatchHandler =
    std::function<void(const QList<QxfFixture> &fixtures, const QList<QxfNote> &skipped,
                       int filesDone, int filesTotal)>;

// Reads the files in parallel and gives them back in collection order. Stops early, with what
// was read so far, once cancel is set (it may be set from any thread).
QxfScanResult scan(const QStringList &foldersOrFiles, const std::atomic<bool> *cancel = nullptr,
                   const BatchHandler &onBatch = {});
QxfScanResult scan(const QList<QxfSource> &sources, const std::atomic<bool> *cancel = nullptr,
                   const BatchHandler &onBatch = {});

} // namespace QxfCatalogue
