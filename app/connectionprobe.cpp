#include "connectionprobe.h"

#include "device/blpmaster.h"

void ConnectionProbe::probe()
{
    emit probed(master->probeDevice());
}
