#pragma once

// Archives that the editor itself would never write (any entries, unknown content, no tar
// structure), written through libarchive. Header-only: only the test folders that link the
// library code include it.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>

#include <archive.h>
#include <archive_entry.h>

enum class RawArchiveForm {
    GzipTar,    // a library's form
    Tar,        // no compression
    GzipStream, // the first entry's content alone, gzip-compressed, without tar structure
};

// Entries whose path ends in '/' are folders.
inline bool writeRawArchive(const QString &path,
                            const QList<QPair<QByteArray, QByteArray>> &entries,
                            RawArchiveForm form = RawArchiveForm::GzipTar)
{
    archive *a = archive_write_new();
    bool ok = (form == RawArchiveForm::Tar || archive_write_add_filter_gzip(a) == ARCHIVE_OK) &&
              (form == RawArchiveForm::GzipStream
                   ? archive_write_set_format_raw(a)
                   : archive_write_set_format_pax_restricted(a)) == ARCHIVE_OK &&
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
