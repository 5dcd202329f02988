#pragma once

#include "ftdidriver.h"
#include "simulatedftdidriver.h"
#include "windowtesting.h"

#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>

class DeviceForm;
class MainWindow;
class QTableView;
class SimulatedController;
class SimulatedDevice;

// A simulated FTDI bus installed as the process's driver for the test's lifetime, with the
// wire-time model off so that transfers take no real time. Make the window after it.
class SimulatedBus
{
public:
    SimulatedBus();

    // A "KDR-450P" controller with the given software version and the given fixture names
    // stored (each with channelsEach channels).
    SimulatedDevice *addController(quint16 softwareVersion = 0x0103,
                                   const QStringList &storedFixtures = {}, int channelsEach = 4);

    SimulatedFtdiDriver driver;

private:
    ScopedFtdiDriver m_installed;
};

// One controller (software 1.3) with the given fixtures stored on a simulated bus, and the window's
// questions answered as scripted. The window itself is made by open(), once the test has set up
// the controller and the answers it needs from the start.
class ControllerWindow
{
public:
    explicit ControllerWindow(const QStringList &storedFixtures = {}, int channelsEach = 4);
    ~ControllerWindow();

    MainWindow &open(const QString &libraryPath);

    SimulatedBus bus;
    SimulatedDevice *const device;
    ScriptedPrompts prompts;

private:
    // Last, so that the window goes before the answers and the bus it uses.
    std::unique_ptr<MainWindow> m_window;
};

// A stored record as the controller keeps it, for filling a simulated store.
QByteArray deviceRecord(const QString &fixtureName, int channels, int slot = 0);

// Waits until the window runs no operation and the device pane is not busy.
bool waitUntilIdle(MainWindow &window, int timeoutMs = 10000);
// Waits until the device pane lists exactly rows rows and the window is idle.
bool waitForDeviceRows(MainWindow &window, int rows, int timeoutMs = 10000);

QTableView *deviceTable(MainWindow &window);
QStringList deviceFixtureNames(MainWindow &window);
// Selects the rows (view order) of a table, replacing the selection.
void selectRows(QTableView *table, const QList<int> &rows);

// Waits until the controller has been asked for its fixture list since its frame log was last
// cleared: a refresh is reading.
bool waitForListRequest(SimulatedDevice *device, int timeoutMs = 10000);

// A user's request of a device job, made as the window's buttons make it.
using DeviceRequest = std::function<void(MainWindow &, ScriptedPrompts &)>;
DeviceRequest uploadOf(int libraryRow);
DeviceRequest downloadOf(int deviceRow);
// Answers the question before a deletion with Yes.
DeviceRequest deletionOf(int deviceRow);

Q_DECLARE_METATYPE(DeviceRequest)
