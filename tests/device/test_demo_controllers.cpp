// The --simulate demo set: what a user sees without hardware.

#include "demodevices.h"
#include "simulatedftdidriver.h"
#include "rawlink.h"

#include <QTest>

class DemoControllersTest : public QObject
{
    Q_OBJECT

private slots:
    void theDemoHasACurrentControllerAndAnOldDongle()
    {
        SimulatedFtdiDriver driver;
        addDemoControllers(driver);
        const auto devices = driver.devices();
        QCOMPARE(devices.size(), 2);
        QCOMPARE(devices[0]->description(), QByteArray("BRENLOW BLP-DEV"));
        QCOMPARE(devices[1]->description(), QByteArray("BRENLOW BLP-DGL"));
        QVERIFY(devices[0]->controller()->softwareVersion() >= 0x0103);
        QCOMPARE(devices[1]->controller()->softwareVersion(), quint16(0x0102));
    }

    void theCurrentControllerListsWellFormedDefinitions()
    {
        SimulatedFtdiDriver driver;
        driver.setWireTimeModel(false);
        addDemoControllers(driver);
        RawLink link(&driver, 0);
        QByteArray list;
        QVERIFY(link.readAll(11, 0, &list));
        const int count = quint8(list[0]) | (quint8(list[1]) << 8);
        QVERIFY(count >= 3);
        QCOMPARE(list.size(), 2 + 244 * count);
        for (int k = 0; k < count; ++k) {
            const QByteArray header = list.mid(2 + 244 * k, 244);
            QVERIFY(header.at(0) != 0);                                     // a fixture name
            QVERIFY(quint8(header[240]) >= 1 && quint8(header[240]) <= 45); // channel count
            QCOMPARE(quint8(header[242]), quint8(k));                       // slot byte
            QByteArray record;
            QVERIFY(link.readAll(12, quint16(k), &record));
            QCOMPARE(record.left(244), header);
            const int channels = quint8(header[240]);
            QVERIFY(record.at(244 + 112 * (channels - 1) + 12) != 0); // last channel named
            QCOMPARE(record.at(244 + 112 * channels + 12), '\0');     // and none after it
        }
    }
};

QTEST_GUILESS_MAIN(DemoControllersTest)
#include "test_demo_controllers.moc"
