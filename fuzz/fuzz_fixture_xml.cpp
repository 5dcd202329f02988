// Definition documents come from library files of any origin: the reader must cope with
// every byte pattern, and whatever it reads must write out and read back the same.
#include "definitionequality.h"
#include "library/qblfixturedefinitionloader.h"
#include "library/qblfixturedefinitionxmlexporter.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QBLFixtureDefinitionLoader loader;
    loader.setData(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    loader.parse();
    if (!loader.definitions())
        __builtin_trap();

    QBLFixtureDefinitionXMLExporter exporter;
    for (QBLFixtureDefinition *definition : *loader.definitions()) {
        QByteArray document;
        exporter.exportDefinition(*definition, document);
        QBLFixtureDefinitionLoader again;
        again.setData(document);
        again.parse();
        // The writer's own output always holds exactly one definition, equal to the one
        // written.
        if (!again.definitions() || again.definitions()->size() != 1 ||
            !sameDefinition(*definition, *again.definitions()->first()))
            __builtin_trap();
    }
    return 0;
}
