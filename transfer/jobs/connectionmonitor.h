#pragma once

// The connection poll: while no job holds the lock, the active controller is probed every
// 300 ms; the answers become connected and disconnected events, with two missed answers
// tolerated. Also keeps the firmware versions learnt during discovery, for the notice that
// offers the update. GUI thread.

#include <QMap>
#include <QObject>

#include <functional>

class DeviceJobRunner;
class QTimer;

class ConnectionMonitor : public QObject
{
    Q_OBJECT

public:
    static constexpr int PollMs = 300;
    // Failed probes tolerated after an answered one before the controller counts as gone.
    static constexpr int ProbeGrace = 2;
    // Controllers at this version or older are offered the update.
    static constexpr int LastOutdatedFirmware = 0x0102;

    // deviceCount: how many devices the device list holds now.
    ConnectionMonitor(DeviceJobRunner *runner, std::function<int()> deviceCount,
                      QObject *parent = nullptr);

    void start();
    bool isConnected() const { return m_connected; }
    // One poll now: a probe if the lock is free; the timer waits for its answer.
    void poll();

    void recordFirmwareVersion(int deviceIndex, int softwareVersion);
    void forgetFirmwareVersions() { m_versions.clear(); }
    // -1 when discovery reported none for the device.
    int firmwareVersion(int deviceIndex) const { return m_versions.value(deviceIndex, -1); }
    static bool isOutdated(int softwareVersion)
    {
        return (softwareVersion & 0xFFFF) <= LastOutdatedFirmware;
    }

signals:
    void connected();
    void disconnected();

private:
    void probed(int result);
    void lossStep();

    DeviceJobRunner *m_runner;
    std::function<int()> m_deviceCount;
    QTimer *m_timer;
    QMap<int, int> m_versions; // device index -> software version
    int m_grace = 0;
    bool m_connected = false;
    bool m_probing = false;
};
