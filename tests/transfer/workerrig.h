#pragma once

#include "simulatedlink.h"
#include "workerharness.h"

#include <QElapsedTimer>

#include <memory>

// One worker talking to a fresh simulated controller, with spies on its terminal signals.
// A test class derives from it, sets it up in init() and tears it down in cleanup(), so every
// case starts from a clean link.
template <typename Worker> class WorkerRig
{
protected:
    void setUpRig(std::initializer_list<const char *> terminals)
    {
        m_link = std::make_unique<SimulatedLink>();
        m_worker = std::make_unique<Worker>();
        m_worker->setMaster(&m_link->master);
        m_terminal = std::make_unique<TerminalSignals>(m_worker.get(), terminals);
    }

    // The spies before the worker, the worker before the link it talks through.
    void tearDownRig()
    {
        m_terminal.reset();
        m_worker.reset();
        m_link.reset();
    }

    // A run with nothing to do ends at once with the done signal, at full progress, and sends
    // no frame. A failed check returns from here only: nothing of the caller's may follow it.
    void verifyEmptyRunEndsAtOnce(const QByteArray &doneSignal)
    {
        m_link->device->clearFrameLog();
        QSignalSpy total(m_worker.get(), &Worker::progressTotal);
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), doneSignal);
        QCOMPARE(uintArgs(total), QList<uint>({100u}));
        QVERIFY(m_link->device->frameLog().isEmpty());
    }

    // The device goes once the given bytes have reached it: the run then ends with failed(),
    // soon, not after the time-outs of the transactions left. A failed check returns from here
    // only: the caller checks QTest::currentTestFailed() before going on.
    void verifyUnplugFailsPromptly(qint64 afterBytes)
    {
        m_link->device->unplugAfterReceivedBytes(afterBytes);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("failed"));
        QVERIFY2(timer.elapsed() < 5000, "the unplug was noticed only after a long wait");
    }

    std::unique_ptr<SimulatedLink> m_link;
    std::unique_ptr<Worker> m_worker;
    std::unique_ptr<TerminalSignals> m_terminal;
};
