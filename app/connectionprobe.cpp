#include "connectionprobe.h"

#include "blpmaster.h"

#include <QDebug>

#include <sys/prctl.h>

void ConnectionProbe::probe()
{
    if (!slackSet) {
        slackSet = true;
        // The probe waits for its answer with very short sleeps; on this thread they may
        // oversleep by half a millisecond, which a 300 ms poll never notices and which spares
        // most of the wake-ups.
        if (prctl(PR_SET_TIMERSLACK, 500000UL, 0, 0, 0) != 0)
            qDebug() << "connection probe: timer slack unchanged";
    }
    emit probed(master->probeDevice());
}
