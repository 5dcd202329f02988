// Each fault switch of the simulated controller does what it says, and no more; the
// simulator stays sound under concurrent reads and writes and costs nothing while idle.

#include "rawlink.h"
#include "simulatortestcase.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

#include <thread>

#include <time.h>

namespace
{

QByteArray probe(quint8 seq = 0)
{
    return rawFrame(0x0C, 0, 0, 0, seq, QByteArray(4, 'p'));
}

constexpr auto Quick = std::chrono::milliseconds(60);

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

} // namespace

class SimulatorFaultsTest : public SimulatorTestCase
{
    Q_OBJECT

private slots:
    void aDroppedAnswerIsLostButTheRequestWasCarriedOut()
    {
        SimulatedController *c = m_device->controller();
        c->storeRecord(QByteArray(5284, 'r'));
        m_device->dropAnswers(1);
        RawLink link(m_driver.get(), 0);
        QVERIFY(link.send(rawFrame(0x0C, 2, 13, 0, 0)));
        QVERIFY(!link.receive(Quick).complete);
        QVERIFY(c->records().isEmpty());
        QCOMPARE(link.exchange(probe()).status(), quint8(0));
    }

    void eachTransientStatusIsAnsweredInsteadOfHandlingTheFrame()
    {
        RawLink link(m_driver.get(), 0);
        for (quint8 status = 7; status <= 10; ++status) {
            m_device->controller()->setPatchListEmpty(false);
            m_device->answerWithStatus(status, 1);
            const QByteArray clear = rawFrame(0x0C, 0, 15, 0, 0, QByteArray(2, '\0'));
            const RawAnswer forced = link.exchange(clear);
            QCOMPARE(forced.type, quint8(1));
            QCOMPARE(forced.status(), status);
            QVERIFY(forced.checksumsGood);
            QVERIFY(!m_device->controller()->patchListEmpty());
            QCOMPARE(link.exchange(clear).status(), quint8(0)); // the resend gets through
            QVERIFY(m_device->controller()->patchListEmpty());
        }
    }

    void aForcedStatusOnAMiddleSegmentLetsTheResentSegmentComplete()
    {
        QByteArray r(5284, '\0');
        for (int i = 0; i < r.size(); ++i)
            r[i] = char(i % 251);
        m_device->answerWithStatus(8, 1, 3);
        RawLink link(m_driver.get(), 0);
        int sent = 0;
        quint8 seq = 0;
        int forced = 0;
        while (sent < r.size()) {
            const int n = qMin(64, int(r.size()) - sent);
            const quint8 flags = (sent == 0 ? 0x08 : 0) | (sent + n == r.size() ? 0x04 : 0);
            const QByteArray frame = rawFrame(flags, 0, 12, 0, seq, r.mid(sent, n));
            RawAnswer a = link.exchange(frame);
            if (a.status() == 8) {
                ++forced;
                QByteArray resent = frame; // as the host resends a middle segment
                resent[3] = 1;
                resent[11] = char(resent[11] + 1);
                resent[12 + n] = char(resent[12 + n] + 1);
                a = link.exchange(resent);
            }
            QCOMPARE(a.status(), quint8(0));
            sent += n;
            ++seq;
        }
        QCOMPARE(forced, 1);
        QByteArray expected = r;
        expected[242] = 0;
        QCOMPARE(m_device->controller()->record(0), expected);
    }

    void afterAndTimesCountTheHostsFrames()
    {
        m_device->answerWithStatus(9, 2, 2);
        RawLink link(m_driver.get(), 0);
        QList<quint8> statuses;
        for (int i = 0; i < 6; ++i)
            statuses.append(link.exchange(probe()).status());
        QCOMPARE(statuses, (QList<quint8>{0, 0, 9, 9, 0, 0}));
    }

    void timesMinusOneFaultsEveryFrameUntilCleared()
    {
        m_device->dropAnswers(-1);
        RawLink link(m_driver.get(), 0);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(link.send(probe()));
            QVERIFY(!link.receive(Quick).complete);
        }
        m_device->clearFaults();
        QCOMPARE(link.exchange(probe()).status(), quint8(0));
    }

    void aCorruptedAnswerDiffersInExactlyTheChosenByte()
    {
        RawLink link(m_driver.get(), 0);
        const RawAnswer good = link.exchange(probe());
        m_device->corruptAnswers(1); // the frame checksum
        const RawAnswer bad = link.exchange(probe());
        QVERIFY(bad.complete);
        QVERIFY(!bad.checksumsGood);
        QCOMPARE(bad.bytes.size(), good.bytes.size());
        for (int i = 0; i < good.bytes.size(); ++i) {
            if (i == good.bytes.size() - 2)
                QCOMPARE(quint8(bad.bytes[i]), quint8(~quint8(good.bytes[i])));
            else
                QCOMPARE(bad.bytes[i], good.bytes[i]);
        }
        m_device->corruptAnswers(1, 0, 11); // the header checksum
        const RawAnswer badHeader = link.exchange(probe());
        QCOMPARE(quint8(badHeader.bytes[11]), quint8(~quint8(good.bytes[11])));
        QVERIFY(link.exchange(probe()).checksumsGood);
    }

    void aDeviceThatStoppedAnsweringIgnoresFramesUntilSwitchedBack()
    {
        m_device->setAnswering(false);
        m_device->controller()->setPatchListEmpty(false);
        RawLink link(m_driver.get(), 0);
        QVERIFY(link.send(rawFrame(0x0C, 0, 15, 0, 0, QByteArray(2, '\0'))));
        QVERIFY(!link.receive(Quick).complete);
        QVERIFY(!m_device->controller()->patchListEmpty());
        m_device->setAnswering(true);
        QCOMPARE(link.exchange(probe()).status(), quint8(0));
    }

    void aSlowDeviceAnswersAfterItsDelay()
    {
        m_device->setAnswerDelay(std::chrono::milliseconds(120));
        RawLink link(m_driver.get(), 0);
        QElapsedTimer t;
        t.start();
        QVERIFY(link.send(probe()));
        QVERIFY(link.receive(std::chrono::milliseconds(500)).complete);
        QVERIFY2(t.elapsed() >= 119 && t.elapsed() < 400, qPrintable(QString::number(t.elapsed())));
    }

    void anUnplugMidTransferFailsTheWriteAndEveryLaterCall()
    {
        m_device->unplugAfterReceivedBytes(1000);
        RawLink link(m_driver.get(), 0);
        QCOMPARE(link.writeAll(12, 0, QByteArray(5284, 'u'), 64), quint8(0xFF));
        QVERIFY(!m_device->isPlugged());
        QCOMPARE(m_device->bytesReceived(), quint64(1000));
        uchar b = 0;
        quint32 n = 0;
        QVERIFY(m_driver->read(link.handle(), &b, 1, &n) != 0);
        QVERIFY(m_driver->write(link.handle(), &b, 1, &n) != 0);
        QVERIFY(m_driver->getStatus(link.handle(), &n, &n, &n) != 0);
        quint32 count = 0;
        QCOMPARE(m_driver->createDeviceInfoList(&count), FtdiStatus(0));
        QCOMPARE(count, 0u);
        QVERIFY(m_device->controller()->records().isEmpty());
    }

    void aReadBlockedOnAnUnpluggedDeviceWakesAtOnce()
    {
        RawLink link(m_driver.get(), 0);
        QCOMPARE(m_driver->setTimeouts(link.handle(), 5000, 2000), FtdiStatus(0));
        std::thread unplug([this] {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            m_device->unplug();
        });
        QElapsedTimer t;
        t.start();
        uchar b = 0;
        quint32 n = 0;
        const FtdiStatus status = m_driver->read(link.handle(), &b, 1, &n);
        unplug.join();
        QVERIFY(status != 0);
        QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
    }

    void aReplugShowsTheDeviceAgainWhileOldHandlesStayDead()
    {
        RawLink old(m_driver.get(), 0);
        m_device->unplug();
        m_device->plugIn();
        uchar b = 0;
        quint32 n = 0;
        QVERIFY(m_driver->getStatus(old.handle(), &n, &n, &n) != 0);
        RawLink fresh(m_driver.get(), 0);
        QVERIFY(fresh.isOpen());
        QCOMPARE(fresh.exchange(probe()).status(), quint8(0));
        QVERIFY(m_driver->write(old.handle(), &b, 1, &n) != 0);
    }

    void aForeignDeviceNeverAnswers()
    {
        SimulatedFtdiDriver driver;
        driver.setWireTimeModel(false);
        SimulatedDevice *foreign = driver.addForeignDevice();
        RawLink link(&driver, 0);
        QVERIFY(link.isOpen());
        QVERIFY(link.send(probe()));
        QVERIFY(!link.receive(Quick).complete);
        QVERIFY(!foreign->controller());
    }

    void randomAndMutatedBytesNeverBreakTheControllerAndEveryAnswerIsWellFormed()
    {
        RawLink link(m_driver.get(), 0);
        QRandomGenerator rng(4501);
        const QList<QByteArray> valid = {probe(), rawFrame(0x0C, 2, 1, 0, 0),
                                         rawFrame(0x0C, 2, 11, 0, 0),
                                         rawFrame(0x08, 0, 12, 0, 0, QByteArray(64, 'x'))};
        QByteArray answers;
        for (int round = 0; round < 4000; ++round) {
            QByteArray chunk;
            if (round % 2) {
                chunk = valid[rng.bounded(valid.size())];
                for (int k = rng.bounded(3); k > 0; --k)
                    chunk[rng.bounded(int(chunk.size()))] = char(rng.bounded(256));
            } else {
                chunk.resize(rng.bounded(1, 300));
                for (char &c : chunk)
                    c = char(rng.bounded(256));
            }
            QVERIFY(link.send(chunk));
            uchar buf[4096];
            quint32 n = 0, tx = 0, events = 0;
            QCOMPARE(m_driver->getStatus(link.handle(), &n, &tx, &events), FtdiStatus(0));
            while (n > 0) {
                quint32 got = 0;
                QCOMPARE(m_driver->read(link.handle(), buf, sizeof buf, &got), FtdiStatus(0));
                answers.append(reinterpret_cast<const char *>(buf), int(got));
                QCOMPARE(m_driver->getStatus(link.handle(), &n, &tx, &events), FtdiStatus(0));
            }
        }
        // Everything the controller said is a sequence of whole, valid answer frames.
        int at = 0;
        int frames = 0;
        while (at < answers.size()) {
            QVERIFY(answers.size() - at >= 14);
            QCOMPARE(quint8(answers[at]), quint8(0xAA));
            const int length = quint8(answers[at + 8]) | (quint8(answers[at + 9]) << 8);
            quint8 sum = 0;
            for (int i = 0; i < 11; ++i)
                sum += quint8(answers[at + i]);
            QCOMPARE(quint8(answers[at + 11]), sum);
            for (int i = 12; i < 12 + length; ++i)
                sum += quint8(answers[at + i]);
            QCOMPARE(quint8(answers[at + 12 + length]), sum);
            QCOMPARE(quint8(answers[at + 13 + length]), quint8(0xCC));
            at += length + 14;
            ++frames;
        }
        QVERIFY2(frames > 100, qPrintable(QString::number(frames)));
        QCOMPARE(quint64(frames), m_device->answersSent());
        // A reset resynchronises the line, as the host's reconnect does.
        QCOMPARE(m_driver->resetDevice(link.handle()), FtdiStatus(0));
        QCOMPARE(link.exchange(probe()).status(), quint8(0));
    }

    void concurrentReadsAndWritesKeepEveryAnswerWhole()
    {
        m_device->setWireTimeModel(true);
        RawLink link(m_driver.get(), 0);
        constexpr int Frames = 300;
        std::thread writer([&] {
            for (int i = 0; i < Frames; ++i)
                link.send(probe());
        });
        int good = 0;
        for (int i = 0; i < Frames; ++i) {
            const RawAnswer a = link.receive(std::chrono::milliseconds(500));
            if (a.complete && a.checksumsGood && a.status() == 0)
                ++good;
        }
        writer.join();
        QCOMPARE(good, Frames);
    }

    void anIdleReaderCostsAlmostNoCpu()
    {
        m_device->setWireTimeModel(true);
        RawLink link(m_driver.get(), 0);
        double cpuMs = 0;
        std::thread reader([&] {
            const double start = threadCpuMs();
            for (int i = 0; i < 25; ++i) { // one second of 40 ms reads that find nothing
                uchar b;
                quint32 n;
                m_driver->read(link.handle(), &b, 1, &n);
            }
            cpuMs = threadCpuMs() - start;
        });
        reader.join();
        QVERIFY2(cpuMs < 10.0, qPrintable(QStringLiteral("%1 ms CPU in 1 s").arg(cpuMs)));
    }
};

QTEST_GUILESS_MAIN(SimulatorFaultsTest)
#include "test_simulator_faults.moc"
