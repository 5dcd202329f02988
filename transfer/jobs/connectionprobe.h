#pragma once

#include <QObject>

class BLPMaster;

// Runs the connection poll's probe on its own thread: a controller that stops answering
// would otherwise hold the window for the master's whole answer time-out.
class ConnectionProbe : public QObject
{
    Q_OBJECT

public:
    explicit ConnectionProbe(BLPMaster *master) : master(master) {}

public slots:
    void probe();

signals:
    // 0 link busy, 1 no answer, 2 answered (BLPMaster::probeDevice).
    void probed(int result);

private:
    BLPMaster *master;
    bool slackSet = false; // probe thread only
};
