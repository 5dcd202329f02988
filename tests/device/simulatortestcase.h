#pragma once

// A test object whose every case starts with a fresh simulated driver holding one controller,
// without the wire-time model so that byte-level tests run fast.

#include "simulatedftdidriver.h"

#include <QObject>

#include <memory>

class SimulatorTestCase : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_driver = std::make_unique<SimulatedFtdiDriver>();
        m_driver->setWireTimeModel(false);
        m_device = m_driver->addController();
    }

protected:
    std::unique_ptr<SimulatedFtdiDriver> m_driver;
    SimulatedDevice *m_device = nullptr;
};
