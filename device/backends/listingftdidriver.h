#pragma once

// What the backends that list devices of their own share (the simulated bus, the system's
// serial ports): the snapshot createDeviceInfoList() takes, which getDeviceInfoList() reports
// and open() picks from. It has a lock of its own, never held while the backend runs, so
// listing goes on while handles are in use.

#include "ftdidriver.h"

#include <QByteArray>
#include <QList>

#include <mutex>
#include <utility>

// Target: what open() needs to reach a listed device.
template <typename Target>
class ListingFtdiDriver : public FtdiDriver
{
public:
    struct Listed {
        QByteArray serialNumber;
        QByteArray description;
        Target target;
    };

    FtdiStatus createDeviceInfoList(quint32 *count) override
    {
        if (!count)
            return InvalidParameter;
        QList<Listed> devices = listDevices();
        std::lock_guard<std::mutex> l(m_listMutex);
        m_listed = std::move(devices);
        *count = quint32(m_listed.size());
        return Ok;
    }

    FtdiStatus getDeviceInfoList(uchar *nodes, quint32 *count) override
    {
        if (!nodes || !count)
            return InvalidParameter;
        std::lock_guard<std::mutex> l(m_listMutex);
        fillNodes(nodes, count, quint32(m_listed.size()),
                  [this](quint32 i, QByteArray *serialNumber, QByteArray *description) {
                      *serialNumber = m_listed[qsizetype(i)].serialNumber;
                      *description = m_listed[qsizetype(i)].description;
                  });
        return Ok;
    }

protected:
    // The devices attached now, in list order.
    virtual QList<Listed> listDevices() = 0;

    // The target of the device at index in the latest snapshot; false when there is none.
    bool listedTarget(int index, Target *target) const
    {
        std::lock_guard<std::mutex> l(m_listMutex);
        if (index < 0 || index >= m_listed.size())
            return false;
        *target = m_listed[index].target;
        return true;
    }

private:
    mutable std::mutex m_listMutex;
    QList<Listed> m_listed;
};
