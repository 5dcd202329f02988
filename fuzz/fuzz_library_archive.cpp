// Whole library files: damaged downloads, truncated copies, other programs' archives.
#include "library/blflarchive.h"
#include "library/qblfixturedefinitionloader.h"
#include "inputfile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString fileName = writeFuzzInputFile(data, size);
    if (fileName.isEmpty())
        return 0;

    BLFLArchive archive(fileName);
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
