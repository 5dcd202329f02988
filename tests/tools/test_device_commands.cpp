#include "toolrunner.h"

#include <QFileInfo>
#include <QtTest>

#include <cstdlib>

class DeviceCommands : public QObject
{
    Q_OBJECT

private slots:
    void devicesListsTheDemoControllersWithEntryTextAndVersions()
    {
        const QByteArray lines("device 0: KDR-450P #1 (Stage left), software 1.3, "
                               "hardware 2.0\n"
                               "device 1: KDR-450P #2 (Rehearsal room), software 1.2, "
                               "hardware 1.0\n");
        const ToolRun run = runTool({"devices", "--simulate"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, "backend: simulated\n" + lines);
        QVERIFY2(run.err.isEmpty(), run.err.constData()); // diagnostics stay off stderr

        // The D2XX stand-in runs the same demo controllers behind the driver library.
        const ToolRun d2xx = runTool(
            {"devices", "--backend", "d2xx", "--d2xx-library", QStringLiteral(KDR_D2XX_STANDIN)});
        QCOMPARE(d2xx.exitCode, 0);
        QCOMPARE(d2xx.out, "backend: d2xx\n" + lines);
        const QByteArray dir = QFileInfo(QStringLiteral(KDR_D2XX_STANDIN)).path().toLocal8Bit();
        const ToolRun found = runTool({"devices", "--backend", "d2xx"},
                                      [dir] { setenv("LD_LIBRARY_PATH", dir.constData(), 1); });
        QCOMPARE(found.out, "backend: d2xx\n" + lines);
    }

    void aMissingD2xxLibraryIsOneLineNamingIt()
    {
        const ToolRun run = runTool({"devices", "--backend", "d2xx"},
                                    [] { unsetenv("LD_LIBRARY_PATH"); });
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.oneErrorLine());
        QCOMPARE(run.err, QByteArray("kdr450p-tool devices: FTDI D2XX driver library not found: "
                                     "libftd2xx.so\n"));
    }

    void infoPrintsTheFirstControllerByDefault()
    {
        const ToolRun run = runTool({"info", "--simulate"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("Device:            0 (USB Device 1)\n"
                                     "Name:              KDR-450P\n"
                                     "Software version:  1.3\n"
                                     "Hardware version:  2.0\n"
                                     "Frame limit:       80\n"
                                     "Label:             Stage left\n"));
    }

    void infoOfTheChosenDevice()
    {
        const ToolRun run = runTool({"info", "--device", "1", "--simulate"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains("Device:            1 (USB Dongle 2)\n"));
        QVERIFY(run.out.contains("Software version:  1.2\n"));
        QVERIFY(run.out.contains("Label:             Rehearsal room\n"));
    }

    void infoOfADeviceNumberNotAttachedFailsWithOneLine()
    {
        const ToolRun run = runTool({"info", "--simulate", "--device=7"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.oneErrorLine());
        QVERIFY(run.err.contains("device number 7"));
        QVERIFY(run.out.isEmpty());
    }

    void aPortThatDoesNotExistFindsNoController()
    {
        const ToolRun devices = runTool({"devices", "--port", "/nonexistent/ttyUSB9"});
        QCOMPARE(devices.exitCode, 1);
        QVERIFY(devices.oneErrorLine());
        const ToolRun info = runTool({"info", "--port", "/nonexistent/ttyUSB9"});
        QCOMPARE(info.exitCode, 1);
        QVERIFY(info.oneErrorLine());
    }

    void malformedOptionsAreUsageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("device without number") << QStringList{"info", "--simulate", "--device"};
        QTest::newRow("device not a number") << QStringList{"info", "--device", "two"};
        QTest::newRow("negative device") << QStringList{"info", "--device", "-1"};
        QTest::newRow("simulate and port") << QStringList{"devices", "--simulate", "--port", "/x"};
        QTest::newRow("devices takes no device") << QStringList{"devices", "--device", "0"};
        QTest::newRow("stray argument") << QStringList{"info", "--simulate", "extra"};
    }
    void malformedOptionsAreUsageErrors()
    {
        QFETCH(QStringList, arguments);
        const ToolRun run = runTool(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.oneErrorLine());
    }

    void bothCommandsExplainTheirOptions()
    {
        for (const char *command : {"devices", "info"}) {
            const ToolRun run = runTool({command, "--help"});
            QCOMPARE(run.exitCode, 0);
            QVERIFY(run.out.contains("--simulate"));
            QVERIFY(run.out.contains("--port PATH"));
        }
        QVERIFY(runTool({"info", "--help"}).out.contains("--device N"));
        QVERIFY(runTool({"--help"}).out.contains("devices"));
    }
};

QTEST_GUILESS_MAIN(DeviceCommands)
#include "test_device_commands.moc"
