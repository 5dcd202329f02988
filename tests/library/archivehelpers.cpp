#include "archivehelpers.h"

#include <QFile>

#include <archive.h>
#include <archive_entry.h>

QStringList entryPaths(const QString &path)
{
    QStringList out;
    archive *a = archive_read_new();
    archive_read_support_format_tar(a);
    archive_read_support_filter_gzip(a);
    if (archive_read_open_filename(a, QFile::encodeName(path).constData(), 16384) == ARCHIVE_OK) {
        archive_entry *entry = nullptr;
        while (archive_read_next_header(a, &entry) == ARCHIVE_OK)
            out << QString::fromUtf8(archive_entry_pathname(entry));
    }
    archive_read_free(a);
    return out;
}
