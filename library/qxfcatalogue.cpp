#include "qxfcatalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <memory>
#include <vector>

namespace
{

// Files handed to the batch handler at once: small enough that a window fills visibly,
// large enough that it is not woken per file.
constexpr int kBatchSize = 64;

bool isQxfName(const QString &name)
{
    return name.endsWith(QLatin1String(".qxf"), Qt::CaseInsensitive);
}

struct Slot {
    QxfFixture fixture;
    QString reason;
    bool ok = false;
    std::atomic<bool> done{false};
};

} // namespace

int QxfScanResult::modeCount() const
{
    int modes = 0;
    for (const QxfFixture &f : fixtures)
        modes += int(f.modes.size());
    return modes;
}

// Where the QLC+ installers of each platform put the catalogue and the user's own files.
QStringList QxfCatalogue::systemFolders()
{
#if defined(Q_OS_WIN)
    QStringList folders{QStringLiteral("C:/QLC+/Fixtures")};
    const QString programs = qEnvironmentVariable("ProgramFiles");
    if (!programs.isEmpty())
        folders.append(QDir::fromNativeSeparators(programs) + QStringLiteral("/QLC+/Fixtures"));
    return folders;
#elif defined(Q_OS_MACOS)
    return {QStringLiteral("/Applications/QLC+.app/Contents/Resources/Fixtures")};
#else
    return {QStringLiteral("/usr/share/qlcplus/fixtures"),
            QStringLiteral("/usr/local/share/qlcplus/fixtures")};
#endif
}

QString QxfCatalogue::userFolder()
{
#if defined(Q_OS_WIN)
    return QDir::home().filePath(QStringLiteral("QLC+/Fixtures"));
#elif defined(Q_OS_MACOS)
    return QDir::home().filePath(QStringLiteral("Library/Application Support/QLC+/Fixtures"));
#else
    return QDir::home().filePath(QStringLiteral(".qlcplus/fixtures"));
#endif
}

QList<QxfSource> QxfCatalogue::collect(const QStringList &foldersOrFiles, QList<QxfNote> *missing)
{
    QList<QxfSource> sources;
    for (const QString &given : foldersOrFiles) {
        const QFileInfo info(given);
        if (info.isFile()) {
            sources.append({given, given});
            continue;
        }
        if (!info.isDir()) {
            if (missing)
                missing->append(
                    {given, info.exists()
                                ? QCoreApplication::translate("Qxf",
                                                              "not a regular file, not read")
                                : QCoreApplication::translate("Qxf", "no such file or folder")});
            continue;
        }
        // Folder symlinks are not followed, so a link loop cannot make the walk endless.
        const QDir root(given);
        QList<QPair<QByteArray, QxfSource>> found;
        QDirIterator it(given, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!isQxfName(it.fileName()))
                continue;
            const QString relative = root.relativeFilePath(path);
            // UTF-8 bytes sort in code point order, unlike UTF-16 units or the locale.
            found.append({relative.toUtf8(), {path, relative}});
        }
        std::sort(found.begin(), found.end(),
                  [](const auto &a, const auto &b) { return a.first < b.first; });
        for (const auto &f : std::as_const(found))
            sources.append(f.second);
    }
    return sources;
}

QxfScanResult QxfCatalogue::scan(const QStringList &foldersOrFiles,
                                 const std::atomic<bool> *cancel, const BatchHandler &onBatch)
{
    QList<QxfNote> missing;
    const QList<QxfSource> sources = collect(foldersOrFiles, &missing);
    QxfScanResult result = scan(sources, cancel, onBatch);
    result.skipped = missing + result.skipped;
    return result;
}

QxfScanResult QxfCatalogue::scan(const QList<QxfSource> &sources, const std::atomic<bool> *cancel,
                                 const BatchHandler &onBatch)
{
    QxfScanResult result;
    const int total = int(sources.size());
    result.fileCount = total;
    std::vector<std::unique_ptr<Slot>> entries;
    entries.reserve(size_t(total));
    for (int i = 0; i < total; ++i)
        entries.push_back(std::make_unique<Slot>());

    std::atomic<int> next{0};
    auto cancelled = [cancel] { return cancel && cancel->load(); };
    // Takes the next file not yet claimed; false when none is left or the scan is cancelled.
    auto work = [&]() {
        if (cancelled())
            return false;
        const int i = next.fetch_add(1);
        if (i >= total)
            return false;
        Slot &slot = *entries[size_t(i)];
        slot.fixture.file = sources.at(i).file;
        slot.ok = Qxf::readFile(sources.at(i).path, slot.fixture, slot.reason);
        slot.done.store(true, std::memory_order_release);
        return true;
    };

    // The calling thread reads too; the helpers only pay off with more than a handful of files.
    QThreadPool helpers;
    const int helperCount = total > 8 ? std::max(0, QThread::idealThreadCount() - 1) : 0;
    helpers.setMaxThreadCount(std::max(1, helperCount));
    for (int h = 0; h < helperCount; ++h)
        helpers.start([&work] {
            while (work()) {
            }
        });

    QList<QxfFixture> batch;
    QList<QxfNote> batchSkipped;
    int delivered = 0;
    int batchFiles = 0;
    auto flush = [&] {
        if (onBatch && batchFiles > 0)
            onBatch(batch, batchSkipped, delivered, total);
        batch.clear();
        batchSkipped.clear();
        batchFiles = 0;
    };
    while (delivered < total && !cancelled()) {
        Slot &slot = *entries[size_t(delivered)];
        if (!slot.done.load(std::memory_order_acquire)) {
            if (!work())
                QThread::usleep(200);
            continue;
        }
        if (slot.ok) {
            result.fixtures.append(slot.fixture);
            if (onBatch)
                batch.append(std::move(slot.fixture));
        } else {
            const QxfNote note{slot.fixture.file, slot.reason};
            result.skipped.append(note);
            if (onBatch)
                batchSkipped.append(note);
        }
        slot.fixture = QxfFixture();
        ++delivered;
        if (++batchFiles >= kBatchSize)
            flush();
    }
    flush();
    helpers.waitForDone();
    return result;
}
