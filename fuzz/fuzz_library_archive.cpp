// Whole library files: damaged downloads, truncated copies, other programs' archives.
#include "library/blflarchive.h"
#include "library/qblfixturedefinitionloader.h"

#include <QTemporaryFile>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryFile file;
    static const bool opened = file.open();
    if (!opened)
        return 0;
    file.resize(0);
    file.seek(0);
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.flush();

    BLFLArchive archive(file.fileName());
    if (archive.load()) {
        qsizetype count = 0;
        for (QBLFixtureDefinitionLoader *loader : archive.loaders())
            count += loader->definitions() ? loader->definitions()->size() : 0;
        (void)count;
    } else if (archive.errorString().isEmpty()) {
        __builtin_trap(); // every failure says why
    }
    return 0;
}
