#include "connectionmonitor.h"

#include "devicejobrunner.h"

#include "blpmaster.h"

#include <QTimer>

ConnectionMonitor::ConnectionMonitor(DeviceJobRunner *runner, std::function<int()> deviceCount,
                                     QObject *parent)
    : QObject(parent), m_runner(runner), m_deviceCount(std::move(deviceCount)),
      m_timer(new QTimer(this))
{
    m_timer->setObjectName(QStringLiteral("connectionTimer"));
    m_timer->setInterval(PollMs);
    connect(m_timer, &QTimer::timeout, this, &ConnectionMonitor::poll);
    connect(m_runner, &DeviceJobRunner::probed, this, &ConnectionMonitor::probed);
}

void ConnectionMonitor::start()
{
    m_timer->start();
}

void ConnectionMonitor::poll()
{
    if (m_probing || !m_runner->probe())
        return;
    m_probing = true;
    m_timer->stop();
}

void ConnectionMonitor::probed(int result)
{
    if (!m_probing)
        return;
    m_probing = false;
    const int count = m_deviceCount();
    if (result == BLPMaster::ProbeAnswered) {
        if (!m_connected && count > 0) {
            m_grace = ProbeGrace;
            m_connected = true;
            emit connected();
        } else if (m_connected && count > 0) {
            m_grace = ProbeGrace;
        } else if (m_connected) {
            lossStep();
        }
    } else if (result == BLPMaster::ProbeNoAnswer) {
        if (m_connected) {
            lossStep();
        } else if (count > 0) {
            if (m_grace > 0)
                --m_grace;
            else
                emit disconnected();
        }
    }
    m_timer->start();
}

void ConnectionMonitor::lossStep()
{
    if (m_grace > 0) {
        --m_grace;
        return;
    }
    m_connected = false;
    emit disconnected();
}

void ConnectionMonitor::recordFirmwareVersion(int deviceIndex, int softwareVersion)
{
    m_versions.insert(deviceIndex, softwareVersion);
}
