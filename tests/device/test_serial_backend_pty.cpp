// The serial-port backends end to end over a pseudo-terminal pair: the backend drives the
// slave side, a stand-in controller answers frames on the master side. Every case runs on
// each backend built.

#include "qtserialftdidriver.h"
#ifdef KDR_WITH_TERMIOS2
#include "serialftdidriver.h"
#endif
#include "ptystandin.h"
#include "rawlink.h"

#include <QElapsedTimer>
#include <QTest>

#include <memory>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

class SerialBackendPtyTest : public QObject
{
    Q_OBJECT

public:
    explicit SerialBackendPtyTest(const QString &backend) : m_backend(backend) {}

private:
    enum Standing { Silent, Answering };

    const QString m_backend;
    // The case's stand-in line and the backend's driver opened on it, gone after each case.
    std::unique_ptr<PtyStandIn> m_pty;
    std::unique_ptr<FtdiDriver> m_driver;
    FtdiHandle m_h = nullptr;

    std::unique_ptr<FtdiDriver> makeDriver(const QString &port) const
    {
#ifdef KDR_WITH_TERMIOS2
        if (m_backend == QLatin1String("serial"))
            return std::make_unique<SerialFtdiDriver>(port);
#endif
        return std::make_unique<QtSerialFtdiDriver>(port);
    }

    // Lists, opens and configures the explicit port as the physical layer does.
    FtdiHandle openConfigured(FtdiDriver &driver)
    {
        quint32 count = 0;
        FtdiHandle h = nullptr;
        if (driver.createDeviceInfoList(&count) != 0 || count < 1 || driver.open(0, &h) != 0)
            return nullptr;
        if (driver.resetDevice(h) || driver.setBaudRate(h, 250000) ||
            driver.setDataCharacteristics(h, 8, 2, 0) || driver.setTimeouts(h, 40, 2000)) {
            driver.close(h);
            return nullptr;
        }
        return h;
    }

    // A fresh stand-in, answering frames or not, with the port opened and configured.
    bool openLine(Standing standing)
    {
        m_pty = std::make_unique<PtyStandIn>();
        if (standing == Answering)
            m_pty->startAnswering();
        m_driver = makeDriver(m_pty->slavePath());
        m_h = openConfigured(*m_driver);
        return m_h != nullptr;
    }

    // Reads one whole frame byte by byte, as the reader thread does.
    QByteArray readFrame(FtdiDriver &driver, FtdiHandle h, int maxEmptyReads = 25)
    {
        QByteArray frame;
        int expected = 14;
        int empty = 0;
        while (frame.size() < expected && empty < maxEmptyReads) {
            uchar b;
            quint32 n = 0;
            if (driver.read(h, &b, 1, &n) != 0)
                return frame;
            if (n == 0) {
                ++empty;
                continue;
            }
            frame.append(char(b));
            if (frame.size() == 12)
                expected = 14 + (quint8(frame[8]) | (quint8(frame[9]) << 8));
        }
        return frame;
    }

private slots:
    void cleanup()
    {
        m_driver.reset(); // closes the port before its line goes
        m_pty.reset();
        m_h = nullptr;
    }

    void theExplicitPortIsListedFirstAsAControllerDevice()
    {
        PtyStandIn pty;
        QVERIFY(pty.isOpen());
        const auto owned = makeDriver(pty.slavePath());
        FtdiDriver &driver = *owned;
        quint32 count = 0;
        QCOMPARE(driver.createDeviceInfoList(&count), FtdiStatus(0));
        QVERIFY(count >= 1);
        std::vector<uchar> nodes(count * 100);
        QCOMPARE(driver.getDeviceInfoList(nodes.data(), &count), FtdiStatus(0));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(nodes.data() + 32)),
                 QByteArray("BRENLOW BLP-DEV"));
    }

    void theLineIsSetTo250000Baud8N2InRawMode()
    {
        QVERIFY(openLine(Silent));
        PtyLineSettings line;
        QVERIFY(readPtyLineSettings(m_pty->masterFd(), &line));
        QVERIFY(line.customSpeed);
        QCOMPARE(line.outputSpeed, 250000u);
        QVERIFY(line.eightBits);
        QVERIFY(line.twoStopBits);
        QVERIFY(!line.parity);
        QVERIFY(line.raw);
        QCOMPARE(m_driver->close(m_h), FtdiStatus(0));
    }

    void aFrameGoesOutAndTheStandInsAnswerComesBackByteExact()
    {
        QVERIFY(openLine(Answering));
        const QByteArray request = rawFrame(0x0C, 2, 1, 0, 0);
        quint32 written = 0;
        QCOMPARE(m_driver->write(m_h, request.constData(), quint32(request.size()), &written),
                 FtdiStatus(0));
        QCOMPARE(written, quint32(request.size()));
        const QByteArray answer = readFrame(*m_driver, m_h);
        QByteArray info(50, '\0');
        info.replace(6, 8, "KDR-450P");
        info[4] = 3;
        info[5] = 1;
        info[46] = 80;
        QCOMPARE(answer.toHex(), rawFrame(0x0C, 3, 1, 0, 0, info, 0).toHex());
        quint32 rx = 1, tx = 1, ev = 1;
        QCOMPARE(m_driver->getStatus(m_h, &rx, &tx, &ev), FtdiStatus(0));
        QCOMPARE(rx, 0u);
        QCOMPARE(m_driver->close(m_h), FtdiStatus(0));
    }

    void aReadWithNothingToReadReturnsEmptyAfterAbout40Milliseconds()
    {
        QVERIFY(openLine(Silent));
        QElapsedTimer t;
        t.start();
        uchar b;
        quint32 n = 7;
        QCOMPARE(m_driver->read(m_h, &b, 1, &n), FtdiStatus(0));
        QCOMPARE(n, 0u);
        QVERIFY2(t.elapsed() >= 39 && t.elapsed() < 200, qPrintable(QString::number(t.elapsed())));
        m_driver->close(m_h);
    }

    void aReadFromAPortThatHungUpFailsAtOnceAndSoDoesTheStatus()
    {
        QVERIFY(openLine(Silent));
        QCOMPARE(m_driver->setTimeouts(m_h, 2000, 2000), FtdiStatus(0));
        std::thread unplug([this] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            m_pty->closeMaster();
        });
        QElapsedTimer t;
        t.start();
        uchar b;
        quint32 n = 0;
        const FtdiStatus status = m_driver->read(m_h, &b, 1, &n);
        const qint64 elapsed = t.elapsed();
        unplug.join();
        QVERIFY(status != 0);
        QVERIFY2(elapsed < 1000, qPrintable(QString::number(elapsed)));
        quint32 rx, tx, ev;
        QVERIFY(m_driver->getStatus(m_h, &rx, &tx, &ev) != 0);
        QVERIFY(m_driver->write(m_h, &b, 1, &n) != 0);
        QCOMPARE(m_driver->close(m_h), FtdiStatus(0));
    }

    void aWriteThatCannotLeaveGivesUpAfterTheWriteTimeoutAndSaysHowMuchLeft()
    {
        QVERIFY(openLine(Silent)); // never reads, so the line backs up
        QCOMPARE(m_driver->setTimeouts(m_h, 40, 150), FtdiStatus(0));
        const QByteArray big(1 << 20, 'x');
        quint32 written = 0;
        QElapsedTimer t;
        t.start();
        QCOMPARE(m_driver->write(m_h, big.constData(), quint32(big.size()), &written),
                 FtdiStatus(0));
        QVERIFY(written < quint32(big.size()));
        QVERIFY2(t.elapsed() >= 140 && t.elapsed() < 1500,
                 qPrintable(QString::number(t.elapsed())));
        m_driver->close(m_h);
    }

    void readsAndWritesFromTwoThreadsAtOnceKeepEveryFrameWhole()
    {
        QVERIFY(openLine(Answering));
        constexpr int Frames = 200;
        std::atomic<bool> writesOk{true};
        std::thread writer([&] {
            for (int i = 0; i < Frames; ++i) {
                const QByteArray f = rawFrame(0x0C, 2, 9, quint16(i), 0);
                quint32 n = 0;
                if (m_driver->write(m_h, f.constData(), quint32(f.size()), &n) != 0 ||
                    n != quint32(f.size())) {
                    qWarning("write %d: %u of %d", i, n, int(f.size()));
                    writesOk = false;
                }
            }
        });
        int good = 0;
        for (int i = 0; i < Frames; ++i) {
            const QByteArray a = readFrame(*m_driver, m_h);
            if (a.size() == 16 && quint8(a[12]) == (i & 0xFF) && quint8(a[13]) == (i >> 8))
                ++good;
        }
        writer.join();
        QVERIFY(writesOk);
        QCOMPARE(good, Frames);
        m_driver->close(m_h);
    }

    void aSecondOpenOfTheSamePortIsRefused()
    {
        QVERIFY(openLine(Silent));
        FtdiHandle second = nullptr;
        QVERIFY(m_driver->open(0, &second) != 0);
        QCOMPARE(m_driver->close(m_h), FtdiStatus(0));
        QVERIFY(m_driver->close(m_h) != 0);
    }

    void aPortThatDoesNotExistDoesNotOpen()
    {
        const auto owned = makeDriver(QStringLiteral("/dev/no-such-port"));
        FtdiDriver &driver = *owned;
        quint32 count = 0;
        QCOMPARE(driver.createDeviceInfoList(&count), FtdiStatus(0));
        FtdiHandle h = nullptr;
        QVERIFY(driver.open(0, &h) != 0);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList backends{QStringLiteral("qtserial")};
#ifdef KDR_WITH_TERMIOS2
    backends.prepend(QStringLiteral("serial"));
#endif
    int failed = 0;
    for (const QString &backend : backends) {
        qInfo("backend: %s", qPrintable(backend));
        SerialBackendPtyTest test(backend);
        failed += QTest::qExec(&test, argc, argv);
    }
    return failed;
}
#include "test_serial_backend_pty.moc"
