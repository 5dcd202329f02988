// How the programs pick their driver backend from --simulate and --port.

#include "driverselection.h"
#include "ftdidriver.h"
#include "qtserialftdidriver.h"
#ifdef KDR_WITH_TERMIOS2
#include "serialftdidriver.h"
#endif
#include "simulatedftdidriver.h"
#ifdef Q_OS_LINUX
#include "ptystandin.h"
#endif

#include <QProcess>
#include <QTest>

Q_DECLARE_METATYPE(DriverPlatform)

#include <cstdlib>

namespace
{

// Run again as a child (below): forbids the serial-port backend, then asks for the driver,
// with a simulated bus installed first or not. Ends with 0 when it got a driver.
void askForTheDriverWhenForbidden()
{
    const QByteArray mode = qgetenv("KDR_FORBIDDEN_BACKEND_CHILD");
    if (mode.isEmpty())
        return;
    if (mode == "bus")
        FtdiDriver::setCurrent(new SimulatedFtdiDriver);
    FtdiDriver::forbidPlatformBackend();
    std::_Exit(FtdiDriver::current() ? 0 : 3);
}
Q_CONSTRUCTOR_FUNCTION(askForTheDriverWhenForbidden)

} // namespace

class DriverSelectionTest : public QObject
{
    Q_OBJECT

private slots:
    void theDriverOptionsAreTakenOutAndTheRestKeepsItsOrder()
    {
        QStringList args{"info", "--port", "/dev/ttyUSB3", "--device", "2"};
        DriverOptions o;
        QString error;
        QVERIFY(takeDriverOptions(&args, &o, &error));
        QCOMPARE(args, (QStringList{"info", "--device", "2"}));
        QCOMPARE(o.portPath, QStringLiteral("/dev/ttyUSB3"));
        QVERIFY(!o.simulate);

        args = QStringList{"--simulate", "devices", "--port=/dev/x"};
        DriverOptions both;
        QVERIFY(!takeDriverOptions(&args, &both, &error));
        QVERIFY(!error.isEmpty());
    }

    void aPortOptionWithoutItsPathIsAnError()
    {
        QStringList args{"devices", "--port"};
        DriverOptions o;
        QString error;
        QVERIFY(!takeDriverOptions(&args, &o, &error));
        QVERIFY(error.contains("--port"));
        args = QStringList{"--port="};
        QVERIFY(!takeDriverOptions(&args, &o, &error));
    }

    void theDefaultBackendFollowsThePlatformAndWhetherD2xxLoads_data()
    {
        QTest::addColumn<DriverPlatform>("platform");
        QTest::addColumn<bool>("d2xxLoads");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("asksTheLoader");
        QTest::newRow("linux") << DriverPlatform::Termios2 << true << "serial" << false;
        QTest::newRow("windows with the library")
            << DriverPlatform::Windows << true << "d2xx" << true;
        QTest::newRow("windows without it")
            << DriverPlatform::Windows << false << "qtserial" << true;
        QTest::newRow("macos") << DriverPlatform::Other << true << "qtserial" << false;
    }
    void theDefaultBackendFollowsThePlatformAndWhetherD2xxLoads()
    {
        QFETCH(DriverPlatform, platform);
        QFETCH(bool, d2xxLoads);
        QFETCH(QString, expected);
        QFETCH(bool, asksTheLoader);
        int asked = 0;
        QCOMPARE(defaultBackendName(platform,
                                    [&] {
                                        ++asked;
                                        return d2xxLoads;
                                    }),
                 expected);
        QCOMPARE(asked, asksTheLoader ? 1 : 0);
    }

    void withoutAnInstalledDriverTheSerialBackendServes()
    {
        ScopedFtdiDriver none(nullptr);
#ifdef KDR_WITH_TERMIOS2
        QVERIFY(dynamic_cast<SerialFtdiDriver *>(FtdiDriver::current()));
#else
        QVERIFY(dynamic_cast<QtSerialFtdiDriver *>(FtdiDriver::current()));
#endif
    }

    void aProgramThatForbidsTheSerialBackendStopsInsteadOfReachingIt_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("stops");
        QTest::newRow("nothing installed") << "none" << true;
        QTest::newRow("a simulated bus installed") << "bus" << false;
    }

    void aProgramThatForbidsTheSerialBackendStopsInsteadOfReachingIt()
    {
        QFETCH(QString, mode);
        QFETCH(bool, stops);
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KDR_FORBIDDEN_BACKEND_CHILD", mode);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(30000));
        const QByteArray err = child.readAllStandardError();
        if (stops) {
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);
            QVERIFY2(err.contains("serial-port backend was reached"), err.constData());
        } else {
            QCOMPARE(child.exitStatus(), QProcess::NormalExit);
            QCOMPARE(child.exitCode(), 0);
        }
    }

    void simulateInstallsTheDemoPair()
    {
        ScopedFtdiDriver restore(FtdiDriver::current());
        DriverOptions o;
        o.simulate = true;
        installDriver(o);
        auto *simulated = dynamic_cast<SimulatedFtdiDriver *>(FtdiDriver::current());
        QVERIFY(simulated);
        quint32 count = 0;
        QCOMPARE(simulated->createDeviceInfoList(&count), FtdiStatus(0));
        QCOMPARE(count, 2u);
    }

#ifdef Q_OS_LINUX
    void anExplicitPortIsTheFirstDeviceOfTheInstalledDriver()
    {
        ScopedFtdiDriver restore(FtdiDriver::current());
        PtyStandIn pty;
        QVERIFY(pty.isOpen());
        DriverOptions o;
        o.portPath = pty.slavePath();
        installDriver(o);
        FtdiDriver *d = FtdiDriver::current();
        quint32 count = 0;
        QCOMPARE(d->createDeviceInfoList(&count), FtdiStatus(0));
        QVERIFY(count >= 1);
        FtdiHandle h = nullptr;
        QCOMPARE(d->open(0, &h), FtdiStatus(0));
        QCOMPARE(d->close(h), FtdiStatus(0));
    }
#endif
};

QTEST_GUILESS_MAIN(DriverSelectionTest)
#include "test_driver_selection.moc"
