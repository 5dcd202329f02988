#include "blflarchive.h"

#include "model/qblfixturedefinition.h"
#include "qblfixturedefinitionloader.h"
#include "qblfixturedefinitionxmlexporter.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSaveFile>

#include <archive.h>
#include <archive_entry.h>

#include <cerrno>
#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

// What a load met on its way (kdr.library), off by default.
Q_LOGGING_CATEGORY(lcLibrary, "kdr.library", QtInfoMsg)

namespace
{

const char kVersion[] = "01.00";

// libarchive reports "not an archive it knows" with this errno (its private
// ARCHIVE_ERRNO_FILE_FORMAT).
#ifdef EFTYPE
const int kFileFormatErrno = EFTYPE;
#else
const int kFileFormatErrno = EILSEQ;
#endif

struct ReaderDeleter {
    void operator()(archive *a) const { archive_read_free(a); }
};
using Reader = std::unique_ptr<archive, ReaderDeleter>;

QString archiveError(archive *a)
{
    const char *text = archive_error_string(a);
    return text ? QString::fromLocal8Bit(text) : QString();
}

// Why reading failed, in the user's words for what a library file meets (cut off, not gzip or
// tar, damaged data); the archive library's own English text only when none of them fits.
QString readFailure(archive *a)
{
    struct Known {
        const char *marker; // part of the archive library's message, any case
        const char *words;
    };
    static const Known known[] = {
        {"truncat", QT_TRANSLATE_NOOP("BLFLArchive", "it ends early")},
        {"premature end", QT_TRANSLATE_NOOP("BLFLArchive", "it ends early")},
        {"unrecognized archive format", QT_TRANSLATE_NOOP("BLFLArchive", "its format is unknown")},
        {"decompression failed",
         QT_TRANSLATE_NOOP("BLFLArchive", "its compressed data is damaged")},
        {"compressed data", QT_TRANSLATE_NOOP("BLFLArchive", "its compressed data is damaged")},
        {"damaged", QT_TRANSLATE_NOOP("BLFLArchive", "its archive structure is damaged")},
        {"checksum", QT_TRANSLATE_NOOP("BLFLArchive", "its archive structure is damaged")},
        {"header", QT_TRANSLATE_NOOP("BLFLArchive", "its archive structure is damaged")},
    };
    const QString raw = archiveError(a);
    for (const Known &k : known)
        if (raw.contains(QLatin1String(k.marker), Qt::CaseInsensitive))
            return BLFLArchive::tr(k.words);
    return raw;
}

bool isVersionEntry(const QString &path)
{
    static const QRegularExpression pattern(QStringLiteral("blfl.version\\z"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern.match(path).hasMatch();
}

bool isCompatibleVersion(const QString &version)
{
    static const QRegularExpression pattern(QStringLiteral("01.00\\z"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern.match(version).hasMatch();
}

// Definition entries are regular files whose last extension is "xml": the naming rule keeps
// dots inside base names (mac-2.0.xml).
bool isDefinitionEntry(archive_entry *entry, const QString &path)
{
    return archive_entry_filetype(entry) == AE_IFREG &&
           path.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive);
}

// Reads the whole data of the current entry into buffer; false on a short read or error.
bool readEntryData(archive *reader, char *buffer, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const la_ssize_t n = archive_read_data(reader, buffer + done, size_t(size - done));
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

} // namespace

BLFLArchive::BLFLArchive(const QString &fileName, QObject *parent)
    : QObject(parent), m_fileName(fileName)
{
}

BLFLArchive::~BLFLArchive()
{
    qDeleteAll(m_loaders);
}

void BLFLArchive::setHasUnsupportedFeatures()
{
    m_hasUnsupportedFeatures = true;
}

QStringList BLFLArchive::unsupportedContentReport() const
{
    QStringList report;
    for (qsizetype i = 0; i < m_loaders.size(); ++i) {
        const QBLFixtureDefinitionLoader *loader = m_loaders.at(i);
        for (const QString &construct : loader->unsupportedConstructs())
            report << tr("entry %1 (%2): %3").arg(i + 1).arg(loader->entryName(), construct);
    }
    return report;
}

bool BLFLArchive::fail(const QString &reason)
{
    m_errorString = reason;
    return false;
}

bool BLFLArchive::load()
{
    m_version.clear();
    m_hasUnsupportedFeatures = false;
    m_errorString.clear();

    QFile file(m_fileName);
    if (m_fileName.isEmpty() || !file.exists()) {
        qCDebug(lcLibrary) << "File does not exist";
        return fail(tr("The file does not exist."));
    }
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return fail(tr("The file cannot be opened: %1").arg(file.errorString()));

    Reader reader(archive_read_new());
    if (!reader)
        return fail(tr("Out of memory."));
    if (archive_read_support_format_tar(reader.get()) != ARCHIVE_OK ||
        archive_read_support_filter_gzip(reader.get()) != ARCHIVE_OK)
        return fail(tr("The archive reader cannot be set up: %1").arg(archiveError(reader.get())));
    if (archive_read_open_fd(reader.get(), file.handle(), 16384) != ARCHIVE_OK) {
        // Opening already reads ahead, so a cut-off gzip stream can fail here too.
        if (archive_errno(reader.get()) == kFileFormatErrno)
            return fail(tr("Not a library file (not a gzip-compressed tar archive): %1")
                            .arg(readFailure(reader.get())));
        return fail(tr("The file is damaged or truncated: %1").arg(readFailure(reader.get())));
    }

    bool compatibleVersion = false;
    QString incompatibleVersion;
    for (;;) {
        archive_entry *entry = nullptr;
        const int r = archive_read_next_header(reader.get(), &entry);
        if (r == ARCHIVE_EOF)
            break;
        // Only the end of the archive ends reading: a damaged or cut-off file must not load
        // as a library that silently lacks its last definitions.
        if (r != ARCHIVE_OK && r != ARCHIVE_WARN)
            return fail(tr("The file is damaged or truncated: %1").arg(readFailure(reader.get())));

        const char *rawPath = archive_entry_pathname(entry);
        const QString path = rawPath ? QString::fromUtf8(rawPath) : QString();
        const bool version = isVersionEntry(path);
        const bool definition = !version && isDefinitionEntry(entry, path);
        if (!version && !definition) {
            qCDebug(lcLibrary) << "Ignoring unknown entry";
            continue;
        }
        const qint64 size = archive_entry_size(entry);
        if (size < 0 || size > MaxEntrySize)
            return fail(tr("The entry %1 is larger than 64 MiB; the file is damaged.").arg(path));

        if (version) {
            qCDebug(lcLibrary) << "Version entry";
            QByteArray data(int(size), '\0');
            if (!readEntryData(reader.get(), data.data(), size))
                return fail(
                    tr("The file is damaged or truncated: %1").arg(readFailure(reader.get())));
            const int zero = data.indexOf('\0');
            m_version = QString::fromLatin1(zero < 0 ? data : data.left(zero));
            if (!isCompatibleVersion(m_version)) {
                qCDebug(lcLibrary).noquote()
                    << QStringLiteral("Incompatible version: \"%1\"").arg(m_version);
                incompatibleVersion = m_version;
                continue;
            }
            qCDebug(lcLibrary).noquote() << QStringLiteral("Version: \"%1\"").arg(m_version);
            compatibleVersion = true;
        } else {
            auto *loader = new QBLFixtureDefinitionLoader;
            connect(loader, &QBLFixtureDefinitionLoader::unsupportedContent, this,
                    &BLFLArchive::setHasUnsupportedFeatures);
            loader->setEntryName(path);
            char *buffer = loader->allocateBuffer(int(size));
            if (!readEntryData(reader.get(), buffer, size)) {
                delete loader;
                return fail(
                    tr("The file is damaged or truncated: %1").arg(readFailure(reader.get())));
            }
            m_loaders.append(loader);
        }
    }

    if (!compatibleVersion) {
        if (!incompatibleVersion.isNull())
            return fail(
                tr("The library has the incompatible version \"%1\".").arg(incompatibleVersion));
        return fail(tr("The file has no version entry; it is not a library file."));
    }
    for (QBLFixtureDefinitionLoader *loader : std::as_const(m_loaders))
        loader->parse();
    return true;
}

namespace
{

struct WriterDeleter {
    void operator()(archive *a) const { archive_write_free(a); }
};
using Writer = std::unique_ptr<archive, WriterDeleter>;

} // namespace

bool BLFLArchive::save()
{
    m_errorString.clear();
    m_usedEntryNames.clear();
    m_nextSuffix.clear();
    if (m_fileName.isEmpty())
        return fail(tr("No file name is set."));
    // The save replaces its target by a new file, which would turn a device node or a pipe
    // into a regular file (and report success for a write that went nowhere).
    const QFileInfo target(m_fileName);
    if (target.exists() && !target.isFile())
        return fail(target.isDir() ? tr("%1 is a folder, not a file.").arg(m_fileName)
                                   : tr("%1 is not a regular file (a device or a pipe); a library "
                                        "is saved only to a regular file or a new path.")
                                         .arg(m_fileName));

    // The library is written next to the old file and replaces it only when complete, so a
    // failed or interrupted save never destroys the user's file. Declared before the writer
    // so that a writer released on failure still has its file descriptor.
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly))
        return fail(tr("The file cannot be written: %1").arg(file.errorString()));

    Writer writer(archive_write_new());
    if (!writer)
        return fail(tr("Out of memory."));
    if (archive_write_add_filter_gzip(writer.get()) != ARCHIVE_OK ||
        archive_write_set_format_pax_restricted(writer.get()) != ARCHIVE_OK)
        return fail(tr("The archive writer cannot be set up: %1").arg(archiveError(writer.get())));
    if (archive_write_open_fd(writer.get(), file.handle()) != ARCHIVE_OK)
        return fail(tr("The file cannot be written: %1").arg(archiveError(writer.get())));

    if (!writeEntry(writer.get(), QStringLiteral("blfl"), QStringLiteral(".version"),
                    QByteArray(kVersion)))
        return false;
    qCDebug(lcLibrary) << "Going to store definitions";

    if (m_definitions) {
        QBLFixtureDefinitionXMLExporter exporter;
        QByteArray document;
        for (const QBLFixtureDefinition *definition : std::as_const(*m_definitions)) {
            if (!definition)
                continue;
            document.clear();
            exporter.exportDefinition(*definition, document);
            QString base = definition->fixtureName();
            if (base.isEmpty())
                base = QStringLiteral("_");
            if (!writeEntry(writer.get(), base, QStringLiteral(".xml"), document))
                return false;
        }
    }

    if (archive_write_close(writer.get()) != ARCHIVE_OK)
        return fail(tr("The file cannot be written: %1").arg(archiveError(writer.get())));
    if (archive_write_free(writer.release()) != ARCHIVE_OK)
        return fail(tr("The file cannot be written."));
#ifdef Q_OS_WIN
    if (::_commit(file.handle()) != 0)
#else
    if (::fsync(file.handle()) != 0)
#endif
        return fail(tr("The file cannot be written: %1").arg(qt_error_string(errno)));
    if (!file.commit())
        return fail(tr("The file cannot be written: %1").arg(file.errorString()));
    return true;
}

bool BLFLArchive::writeEntry(archive *writer, const QString &base, const QString &extension,
                             const QByteArray &content)
{
    static const QRegularExpression notAllowed(QStringLiteral("[^a-zA-Z0-9.]"));
    QString name = base;
    name.replace(notAllowed, QStringLiteral("-"));
    name = name.toLower();
    if (m_usedEntryNames.contains(name)) {
        int &next = m_nextSuffix[name];
        QString candidate;
        do {
            candidate = name + QLatin1Char('_') + QString::number(++next);
        } while (m_usedEntryNames.contains(candidate));
        name = candidate;
    }

    const QByteArray path = (name + extension).toLatin1();
    archive_entry *entry = archive_entry_new();
    if (!entry)
        return fail(tr("Out of memory."));
    archive_entry_copy_pathname(entry, path.constData());
    archive_entry_set_size(entry, content.size());
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    const int header = archive_write_header(writer, entry);
    archive_entry_free(entry);
    if (header != ARCHIVE_OK)
        return fail(tr("The file cannot be written: %1").arg(archiveError(writer)));
    if (!content.isEmpty()) {
        const la_ssize_t written =
            archive_write_data(writer, content.constData(), size_t(content.size()));
        if (written != la_ssize_t(content.size()))
            return fail(tr("The file cannot be written: %1").arg(archiveError(writer)));
    }
    m_usedEntryNames.insert(name);
    return true;
}
