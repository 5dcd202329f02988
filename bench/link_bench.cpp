// Device link throughput against the simulated controller's wire-time model (44 us per byte
// each way, as a 250000 baud 8N2 line), and the CPU the link's threads use while idle.
// Output: one "name: value unit" line per figure.

#include "simulatedlink.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <QThread>

#include <cstdio>
#include <unistd.h>

namespace
{

constexpr int kRecordSize = 5284;
constexpr quint8 kCommandRecord = 12;
constexpr quint8 kCommandFirmwareSector = 4; // takes any length
constexpr int kIdleSeconds = 5;
constexpr int kRounds = 3;

void print(const char *name, double value, const char *unit, int decimals = 2)
{
    std::printf("%s: %.*f %s\n", name, decimals, value, unit);
}

// CPU time (ns) of this process's threads with the given names, from the kernel's per-task
// accounting.
qint64 threadCpuNs(const QStringList &names)
{
    qint64 total = 0;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(tid + QStringLiteral("/comm")));
        if (!comm.open(QIODevice::ReadOnly))
            continue;
        if (!names.contains(QString::fromLatin1(comm.readAll().trimmed())))
            continue;
        QFile schedstat(tasks.filePath(tid + QStringLiteral("/schedstat")));
        if (schedstat.open(QIODevice::ReadOnly)) {
            total += schedstat.readAll().split(' ').value(0).toLongLong();
            continue;
        }
        QFile stat(tasks.filePath(tid + QStringLiteral("/stat")));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        const qint64 ticks = fields.value(11).toLongLong() + fields.value(12).toLongLong();
        total += ticks * 1000000000LL / sysconf(_SC_CLK_TCK);
    }
    return total;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);

    SimulatedLink link(qEnvironmentVariableIsEmpty("LINK_BENCH_NO_WIRE"));
    SimulatedDevice *device = link.device;
    device->controller()->setFrameLimit(80); // read with the device information below
    BLPMaster &master = link.master;

    QString name;
    int sw = 0, hw = 0;
    if (!master.readDeviceInfo(name, sw, hw)) {
        std::fprintf(stderr, "link_bench: the simulated controller does not answer\n");
        return 1;
    }
    print("frame_limit", master.maxFrameLength(), "bytes", 0);

    QByteArray record(kRecordSize, Qt::Uninitialized);
    for (int i = 0; i < kRecordSize; ++i)
        record[i] = char(i * 31 + 7);

    // Best of a few rounds: on a shared machine a round also measures how long the scheduler
    // keeps the link's threads waiting.
    qint64 bestWriteNs = 0, bestReadNs = 0;
    quint64 bestBytes = 0;
    double bestRatio = 0;
    for (int round = 1; round <= kRounds; ++round) {
        device->controller()->clearRecords();
        const quint64 before = device->bytesReceived() + device->bytesSent();
        QElapsedTimer timer;
        timer.start();
        if (!master.writeData(kRecordSize, record.constData(), kCommandRecord, 0)) {
            std::fprintf(stderr, "link_bench: the record write failed\n");
            return 1;
        }
        const qint64 writeNs = timer.nsecsElapsed();
        const int slot = device->controller()->records().firstKey();
        QByteArray back(kRecordSize, '\0');
        qint32 received = 0;
        timer.restart();
        if (!master.readData(kRecordSize, back.data(), received, kCommandRecord, quint16(slot)) ||
            received != kRecordSize || back != device->controller()->record(slot)) {
            std::fprintf(stderr, "link_bench: the record read failed\n");
            return 1;
        }
        const qint64 readNs = timer.nsecsElapsed();
        const quint64 bytes = device->bytesReceived() + device->bytesSent() - before;
        const double ratio = double(writeNs + readNs) / 1e6 / (double(bytes) * 0.044);
        std::printf("round_%d_transfer_to_wire_ratio: %.3f x\n", round, ratio);
        if (round == 1 || ratio < bestRatio) {
            bestRatio = ratio;
            bestWriteNs = writeNs;
            bestReadNs = readNs;
            bestBytes = bytes;
        }
    }
    const double wireMs = double(bestBytes) * 0.044;
    print("record_write_time", double(bestWriteNs) / 1e6, "ms");
    print("record_read_time", double(bestReadNs) / 1e6, "ms");
    print("transfer_time", double(bestWriteNs + bestReadNs) / 1e6, "ms");
    print("bytes_exchanged", double(bestBytes), "bytes", 0);
    print("wire_time", wireMs, "ms");
    print("transfer_to_wire_ratio", bestRatio, "x", 3);

    // One 66-byte segment (80-byte frame, 15-byte status answer) at a time: the best of
    // many shows the link's own cost per transaction, apart from scheduling delays.
    double bestSegmentMs = 1e9;
    for (int i = 0; i < 100; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!master.writeData(66, record.constData(), kCommandFirmwareSector, 0)) {
            std::fprintf(stderr, "link_bench: a one-segment write failed\n");
            return 1;
        }
        bestSegmentMs = qMin(bestSegmentMs, double(timer.nsecsElapsed()) / 1e6);
    }
    const double segmentWireMs = (80 + 15) * 0.044;
    print("segment_best_time", bestSegmentMs, "ms", 3);
    print("segment_wire_time", segmentWireMs, "ms", 3);
    print("segment_best_to_wire_ratio", bestSegmentMs / segmentWireMs, "x", 3);

    // Idle: connected, nothing awaited. Let the loops settle into their idle pace first.
    const QStringList linkThreads{QStringLiteral("BLPMaster"), QStringLiteral("BLPmPhyUSB")};
    QThread::msleep(500);
    const qint64 cpuBefore = threadCpuNs(linkThreads);
    QElapsedTimer timer;
    timer.start();
    QThread::sleep(kIdleSeconds);
    const qint64 cpuNs = threadCpuNs(linkThreads) - cpuBefore;
    const double idlePercent = 100.0 * double(cpuNs) / double(timer.nsecsElapsed());
    print("idle_link_threads_cpu", double(cpuNs) / 1e6, "ms", 1);
    print("idle_link_threads_cpu_share", idlePercent, "% of one core", 3);

    master.resetLink();
    return 0;
}
