#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QString>

#include <algorithm>
#include <ctime>

// The 1, 5 and 15 minute load averages: a figure taken on a busy machine says so beside it.
inline QString loadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromLatin1(f.readLine()).section(QLatin1Char(' '), 0, 2);
}

// Wall time and this process's CPU time (user + system, all threads): on a shared machine the
// CPU time is the steadier figure of the work done; the wall time shows what a user waits.
class Stopwatch
{
public:
    void start()
    {
        m_wall.start();
        m_cpu = cpuNs();
    }
    double wallMs() const { return m_wall.nsecsElapsed() / 1e6; }
    double cpuMs() const { return (cpuNs() - m_cpu) / 1e6; }

private:
    static qint64 cpuNs()
    {
        timespec now{};
        if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now) != 0)
            return 0;
        return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
    }
    QElapsedTimer m_wall;
    qint64 m_cpu = 0;
};

// The median of several runs: one scheduling hiccup of a shared machine does not move it.
inline double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
