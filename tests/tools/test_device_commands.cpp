#include "toolrunner.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <cstdlib>

class DeviceCommands : public QObject
{
    Q_OBJECT

private slots:
    void devicesListsTheDemoControllersWithEntryTextAndVersions()
    {
        const QByteArray lines("KDR-450P #1 (Stage left), software 1.3, hardware 2.0\n"
                               "KDR-450P #2 (Rehearsal room), software 1.2, hardware 1.0\n");
        const ToolRun run = runTool({"devices", "--simulate"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, "backend: simulated\n" + lines);
        QVERIFY2(run.err.isEmpty(), run.err.constData()); // diagnostics stay off stderr

        // The JSON form numbers the controllers as --device takes them.
        const QJsonArray devices = QJsonDocument::fromJson(
                                       runTool({"devices", "--simulate", "--json"}).out)
                                       .object()
                                       .value(QLatin1String("devices"))
                                       .toArray();
        QCOMPARE(devices.size(), 2);
        for (int i = 0; i < 2; ++i)
            QCOMPARE(devices.at(i).toObject().value(QLatin1String("number")).toInt(), i + 1);
        QCOMPARE(devices.at(1).toObject().value(QLatin1String("label")).toString(),
                 QStringLiteral("Rehearsal room"));

#ifdef KDR_D2XX_STANDIN
        // The D2XX stand-in runs the same demo controllers behind the driver library.
        const ToolRun d2xx = runTool(
            {"devices", "--backend", "d2xx", "--d2xx-library", QStringLiteral(KDR_D2XX_STANDIN)});
        QCOMPARE(d2xx.exitCode, 0);
        QCOMPARE(d2xx.out, "backend: d2xx\n" + lines);
        const QByteArray dir = QFileInfo(QStringLiteral(KDR_D2XX_STANDIN)).path().toLocal8Bit();
        const ToolRun found = runTool({"devices", "--backend", "d2xx"},
                                      [dir] { setenv("LD_LIBRARY_PATH", dir.constData(), 1); });
        QCOMPARE(found.out, "backend: d2xx\n" + lines);
#endif
    }

#ifdef Q_OS_LINUX
    void aMissingD2xxLibraryIsOneLineNamingIt()
    {
        const ToolRun run = runTool({"devices", "--backend", "d2xx"},
                                    [] { unsetenv("LD_LIBRARY_PATH"); });
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.oneErrorLine());
        QCOMPARE(run.err, QByteArray("kdr450p-tool devices: FTDI D2XX driver library not found: "
                                     "libftd2xx.so\n"));
    }
#endif

    void infoPrintsTheFirstControllerByDefault()
    {
        const ToolRun run = runTool({"info", "--simulate"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("Device:            KDR-450P #1 (USB Device 1)\n"
                                     "Name:              KDR-450P\n"
                                     "Software version:  1.3\n"
                                     "Hardware version:  2.0\n"
                                     "Frame limit:       80\n"
                                     "Label:             Stage left\n"));
    }

    void infoOfTheChosenDevice()
    {
        const ToolRun run = runTool({"info", "--device", "2", "--simulate"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains("Device:            KDR-450P #2 (USB Dongle 2)\n"));
        QVERIFY(run.out.contains("Software version:  1.2\n"));
        QVERIFY(run.out.contains("Label:             Rehearsal room\n"));

        const QJsonObject json =
            QJsonDocument::fromJson(runTool({"info", "--device", "2", "--simulate", "--json"}).out)
                .object();
        QCOMPARE(json.value(QLatin1String("device")).toString(), QStringLiteral("KDR-450P #2"));
        QCOMPARE(json.value(QLatin1String("softwareVersion")).toString(), QStringLiteral("1.2"));
        QCOMPARE(json.value(QLatin1String("frameLimit")).toInt(), 80);
    }

    void infoOfADeviceNumberNotAttachedFailsWithOneLine()
    {
        const ToolRun run = runTool({"info", "--simulate", "--device=7"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.oneErrorLine());
        QVERIFY2(run.err.contains("there is no KDR-450P #7: 2 controllers answer"),
                 run.err.constData());
        QVERIFY(run.out.isEmpty());
    }

    // A mistyped port says so; a port where nothing answers says that instead.
    void aPortThatDoesNotExistIsToldApartFromASilentOne()
    {
        for (const char *command : {"devices", "info"}) {
            const ToolRun missing = runTool({command, "--port", "/nonexistent/ttyUSB9"});
            QCOMPARE(missing.exitCode, 1);
            QCOMPARE(missing.err, "kdr450p-tool " + QByteArray(command) +
                                      ": no such port: /nonexistent/ttyUSB9\n");
#ifdef Q_OS_UNIX
            const ToolRun silent = runTool({command, "--port", "/dev/null"});
            QCOMPARE(silent.exitCode, 1);
            QCOMPARE(silent.err, "kdr450p-tool " + QByteArray(command) +
                                     ": no controller answers on /dev/null\n");
#endif
        }
    }

    // Every command and level: the same wording, prefix and exit code for an unknown option,
    // and --version anywhere.
    void everyCommandAnswersUnknownOptionsAndVersionAlike()
    {
        const QList<QStringList> commands = {
            {"devices"}, {"info"}, {"device"}, {"device", "fixtures"}, {"device", "show"},
            {"device", "upload"}, {"device", "download"}, {"device", "delete"},
            {"device", "clear-patch-list"}, {"firmware"}, {"firmware", "check"},
            {"firmware", "update"}, {"library"}, {"library", "list"}, {"library", "check"},
            {"library", "resave"}, {"library", "create"}, {"library", "import-qxf"},
            {"qxf", "list"}};
        for (const QStringList &command : commands) {
            const QByteArray name = command.join(QLatin1Char(' ')).toUtf8();
            const ToolRun run = runTool(command + QStringList{"--jsn"});
            QCOMPARE(run.exitCode, 2);
            QCOMPARE(run.err, "kdr450p-tool " + name + ": unknown option --jsn (see kdr450p-tool " +
                                  name + " --help)\n");
            const ToolRun version = runTool(command + QStringList{"--version"});
            QCOMPARE(version.exitCode, 0);
            QVERIFY2(version.out.startsWith("kdr450p-tool "), name.constData());
            // --verbose belongs to the commands that talk to controllers, and their help says so.
            const bool traces = command.first() != "library" && command.first() != "qxf" &&
                                command != QStringList{"firmware", "check"};
            const ToolRun help = runTool(command + QStringList{"--help"});
            QCOMPARE(help.exitCode, 0);
            QVERIFY2(help.out.contains("--verbose") == traces, name.constData());
            if (command.first() == "library" || command.first() == "qxf") {
                const ToolRun verbose = runTool(command + QStringList{"--verbose"});
                QCOMPARE(verbose.exitCode, 2);
                QVERIFY2(verbose.err.contains(": unknown option --verbose"), name.constData());
            }
        }
    }

    void malformedOptionsAreUsageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("device without number") << QStringList{"info", "--simulate", "--device"};
        QTest::newRow("device not a number") << QStringList{"info", "--device", "two"};
        QTest::newRow("negative device") << QStringList{"info", "--device", "-1"};
        QTest::newRow("controllers count from 1") << QStringList{"info", "--device", "0"};
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
