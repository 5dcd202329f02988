#include "archivehelpers.h"

#include <QFile>

#include <archive.h>
#include <archive_entry.h>

bool writeRawArchive(const QString &path, const QList<QPair<QByteArray, QByteArray>> &entries,
                     bool gzip)
{
    archive *a = archive_write_new();
    bool ok = (!gzip || archive_write_add_filter_gzip(a) == ARCHIVE_OK) &&
              archive_write_set_format_pax_restricted(a) == ARCHIVE_OK &&
              archive_write_open_filename(a, QFile::encodeName(path).constData()) == ARCHIVE_OK;
    for (const auto &e : entries) {
        if (!ok)
            break;
        archive_entry *entry = archive_entry_new();
        archive_entry_copy_pathname(entry, e.first.constData());
        const bool directory = e.first.endsWith('/');
        archive_entry_set_filetype(entry, directory ? AE_IFDIR : AE_IFREG);
        archive_entry_set_perm(entry, directory ? 0755 : 0644);
        archive_entry_set_size(entry, directory ? 0 : e.second.size());
        ok = archive_write_header(a, entry) == ARCHIVE_OK;
        archive_entry_free(entry);
        if (ok && !directory && !e.second.isEmpty())
            ok = archive_write_data(a, e.second.constData(), size_t(e.second.size())) ==
                 e.second.size();
    }
    ok = archive_write_close(a) == ARCHIVE_OK && ok;
    return archive_write_free(a) == ARCHIVE_OK && ok;
}

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

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &data)
{
    // A new file, not a truncated one: file systems flush files rewritten after truncation.
    QFile::remove(path);
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}
