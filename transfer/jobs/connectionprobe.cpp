#include "connectionprobe.h"

#include "blpmaster.h"

#include <QLoggingCategory>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

// The device jobs' own diagnostics (kdr.transfer), off by default.
Q_LOGGING_CATEGORY(lcTransfer, "kdr.transfer", QtInfoMsg)

void ConnectionProbe::probe()
{
#ifdef Q_OS_LINUX
    if (!slackSet) {
        slackSet = true;
        // The probe waits for its answer with very short sleeps; on this thread they may
        // oversleep by half a millisecond, which a 300 ms poll never notices and which spares
        // most of the wake-ups.
        if (prctl(PR_SET_TIMERSLACK, 500000UL, 0, 0, 0) != 0)
            qCDebug(lcTransfer) << "connection probe: timer slack unchanged";
    }
#endif
    emit probed(master->probeDevice());
}
