// Whole library files: damaged downloads, truncated copies, other programs' archives.
#include "definitionequality.h"
#include "library/blflarchive.h"
#include "library/qblfixturedefinitionloader.h"
#include "inputfile.h"

#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString fileName = writeFuzzInputFile(data, size);
    if (fileName.isEmpty())
        return 0;

    BLFLArchive archive(fileName);
    if (!archive.load()) {
        if (archive.errorString().isEmpty())
            __builtin_trap(); // every failure says why
        return 0;
    }
    QList<QBLFixtureDefinition *> definitions;
    for (QBLFixtureDefinitionLoader *loader : archive.loaders()) {
        loader->parse();
        if (loader->definitions())
            definitions += *loader->definitions();
    }
    // What this version cannot keep is refused on saving; everything else survives a resave.
    if (archive.hasUnsupportedFeatures())
        return 0;
    static QTemporaryDir folder;
    const QString copyName = folder.filePath(QStringLiteral("resaved.blfl"));
    BLFLArchive resaved(copyName);
    resaved.setDefinitions(&definitions);
    if (!resaved.save())
        __builtin_trap();
    BLFLArchive reread(copyName);
    if (!reread.load() || reread.hasUnsupportedFeatures())
        __builtin_trap();
    QList<QBLFixtureDefinition *> again;
    for (QBLFixtureDefinitionLoader *loader : reread.loaders()) {
        loader->parse();
        if (loader->definitions())
            again += *loader->definitions();
    }
    if (again.size() != definitions.size())
        __builtin_trap();
    for (qsizetype i = 0; i < again.size(); ++i)
        if (!sameDefinition(*definitions.at(i), *again.at(i)))
            __builtin_trap();
    return 0;
}
