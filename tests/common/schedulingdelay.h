#pragma once

// Timing bounds that hold on a loaded machine without being loosened. What a test times is
// stretched by the time this process's threads stood ready to run but got no processor;
// Linux keeps that per thread in /proc/self/task/*/schedstat (second field, in ns). A bound
// on the elapsed time less that delay still fails when the code itself sleeps, polls or
// waits too long, since sleeping and waiting are no delay of the machine's. Without the
// file the delay reads 0 and the bounds are as strict as they are written.

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QStringList>

#include <algorithm>

// Per thread of this process: nanoseconds spent ready to run without a processor.
using RunQueueWaits = QHash<QString, qint64>;

inline RunQueueWaits runQueueWaits()
{
    RunQueueWaits waits;
    const QStringList tasks =
        QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &task : tasks) {
        QFile file(QStringLiteral("/proc/self/task/%1/schedstat").arg(task));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> fields = file.readAll().simplified().split(' ');
        if (fields.size() >= 2)
            waits.insert(task, fields.at(1).toLongLong());
    }
    return waits;
}

// The waiting between two snapshots, summed over the threads: a thread begun meanwhile counts
// whole, one ended meanwhile not at all.
inline qint64 runQueueWaitBetween(const RunQueueWaits &before, const RunQueueWaits &after)
{
    qint64 total = 0;
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        total += std::max<qint64>(0, it.value() - before.value(it.key(), 0));
    return total;
}

class SchedulingAwareTimer
{
public:
    SchedulingAwareTimer() { restart(); }

    void restart()
    {
        m_waitsAtStart = runQueueWaits();
        m_wall.start();
        m_stopped = false;
    }
    // Fixes the figures below; until then they are read live.
    void stop()
    {
        m_elapsedNs = m_wall.nsecsElapsed();
        m_delayNs = runQueueWaitBetween(m_waitsAtStart, runQueueWaits());
        m_stopped = true;
    }

    qint64 elapsedMs() const { return elapsedNs() / 1000000; }
    qint64 elapsedUs() const { return elapsedNs() / 1000; }
    // Summed over the threads, so it may exceed the elapsed time when several waited at once.
    qint64 delayMs() const { return delayNs() / 1000000; }
    // The elapsed time less the machine's delay: what an idle machine would have shown, or
    // less.
    qint64 unloadedMs() const { return unloadedNs() / 1000000; }
    qint64 unloadedUs() const { return unloadedNs() / 1000; }

    QString describe() const
    {
        return QStringLiteral("%1 ms elapsed, %2 ms of it waiting for a processor")
            .arg(elapsedMs())
            .arg(delayMs());
    }

private:
    qint64 elapsedNs() const { return m_stopped ? m_elapsedNs : m_wall.nsecsElapsed(); }
    qint64 delayNs() const
    {
        return m_stopped ? m_delayNs : runQueueWaitBetween(m_waitsAtStart, runQueueWaits());
    }
    qint64 unloadedNs() const { return std::max<qint64>(0, elapsedNs() - delayNs()); }

    QElapsedTimer m_wall;
    RunQueueWaits m_waitsAtStart;
    qint64 m_elapsedNs = 0;
    qint64 m_delayNs = 0;
    bool m_stopped = false;
};

// Times f with a SchedulingAwareTimer.
template <typename F> SchedulingAwareTimer timed(F &&f)
{
    SchedulingAwareTimer timer;
    f();
    timer.stop();
    return timer;
}
