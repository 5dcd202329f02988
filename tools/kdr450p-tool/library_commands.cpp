#include "commands.h"

#include <QTextStream>

// The library subcommands follow with the library file reader and writer.
int runLibraryCommand(const QStringList &)
{
    QTextStream(stderr) << "kdr450p-tool library: not available in this build\n";
    return 1;
}
