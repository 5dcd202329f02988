#include "devicetesting.h"

#include "app/mainwindow.h"
#include "simulatedcontroller.h"
#include "simulateddevice.h"
#include "transfer/devicerecord.h"
#include "views/deviceform.h"
#include "windowtesting.h"

#include <QAbstractItemModel>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTest>

SimulatedBus::SimulatedBus() : m_installed(&driver)
{
    driver.setWireTimeModel(false);
}

SimulatedDevice *SimulatedBus::addController(quint16 softwareVersion,
                                             const QStringList &storedFixtures, int channelsEach)
{
    SimulatedDevice *device = driver.addController();
    device->controller()->setSoftwareVersion(softwareVersion);
    for (const QString &name : storedFixtures)
        device->controller()->storeRecord(deviceRecord(name, channelsEach));
    return device;
}

ControllerWindow::ControllerWindow(const QStringList &storedFixtures, int channelsEach)
    : device(bus.addController(0x0103, storedFixtures, channelsEach))
{
}

ControllerWindow::~ControllerWindow() = default;

MainWindow &ControllerWindow::open(const QString &libraryPath)
{
    m_window = std::make_unique<MainWindow>(libraryPath);
    return *m_window;
}

QByteArray deviceRecord(const QString &fixtureName, int channels, int slot)
{
    QByteArray record(DeviceRecord::RecordSize, '\0');
    DeviceRecord::writeText(record.data() + DeviceRecord::FixtureNameOffset,
                            DeviceRecord::FixtureNameWidth, fixtureName);
    DeviceRecord::writeText(record.data() + DeviceRecord::ManufacturerNameOffset,
                            DeviceRecord::ManufacturerNameWidth, QStringLiteral("Test Works"));
    record[DeviceRecord::ChannelCountOffset] = char(channels);
    record[DeviceRecord::SlotOffset] = char(slot);
    for (int i = 1; i <= channels; ++i)
        DeviceRecord::writeText(record.data() + DeviceRecord::channelEntryOffset(i) +
                                    DeviceRecord::ChannelNameOffset,
                                DeviceRecord::ChannelNameWidth, QStringLiteral("Ch %1").arg(i));
    return record;
}

bool waitUntilIdle(MainWindow &window, int timeoutMs)
{
    return QTest::qWaitFor(
        [&] { return !window.isOperationRunning() && !window.deviceForm()->isBusy(); }, timeoutMs);
}

bool waitForDeviceRows(MainWindow &window, int rows, int timeoutMs)
{
    return QTest::qWaitFor(
        [&] {
            return !window.isOperationRunning() && !window.deviceForm()->isBusy() &&
                   deviceTable(window)->model()->rowCount() == rows;
        },
        timeoutMs);
}

QTableView *deviceTable(MainWindow &window)
{
    return window.deviceForm()->findChild<QTableView *>(QStringLiteral("fixtureListView"));
}

QStringList deviceFixtureNames(MainWindow &window)
{
    QStringList names;
    const QAbstractItemModel *model = deviceTable(window)->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names.append(model->index(row, 0).data().toString());
    return names;
}

void selectRows(QTableView *table, const QList<int> &rows)
{
    table->clearSelection();
    for (int row : rows)
        table->selectionModel()->select(table->model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

bool waitForListRequest(SimulatedDevice *device, int timeoutMs)
{
    return QTest::qWaitFor(
        [&] {
            for (const SimulatedFrameInfo &frame : device->frameLog())
                if (frame.command == SimulatedController::FixtureList)
                    return true;
            return false;
        },
        timeoutMs);
}

DeviceRequest uploadOf(int libraryRow)
{
    return [libraryRow](MainWindow &window, ScriptedPrompts &) {
        selectRows(libraryTable(window), {libraryRow});
        window.uploadCurrentSelection();
    };
}

DeviceRequest downloadOf(int deviceRow)
{
    return [deviceRow](MainWindow &window, ScriptedPrompts &) {
        selectRows(deviceTable(window), {deviceRow});
        window.downloadCurrentSelection();
    };
}

DeviceRequest deletionOf(int deviceRow)
{
    return [deviceRow](MainWindow &window, ScriptedPrompts &prompts) {
        selectRows(deviceTable(window), {deviceRow});
        prompts.thenAnswer(QMessageBox::Yes);
        window.deleteCurrentlySelectedFixturesOnDevice();
    };
}
