// An idle link must cost next to nothing, yet an operation after a long idle must not wait
// for the link's threads to finish their sleep.
#include "schedulingdelay.h"
#include "simlink.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <algorithm>

namespace
{

// Voluntary context switches of the link's threads (master and reader), from /proc.
qint64 linkThreadWakeUps()
{
    qint64 total = 0;
    const QStringList tasks =
        QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &task : tasks) {
        const QString dir = QStringLiteral("/proc/self/task/%1/").arg(task);
        QFile comm(dir + QStringLiteral("comm"));
        QFile status(dir + QStringLiteral("status"));
        if (!comm.open(QIODevice::ReadOnly) || !status.open(QIODevice::ReadOnly))
            continue;
        const QByteArray name = comm.readAll().trimmed();
        if (name != "BLPMaster" && name != "BLPmPhyUSB")
            continue;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("voluntary_ctxt_switches:"))
                total += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
        }
    }
    return total;
}

qint64 median(QList<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

class MasterIdle : public QObject
{
    Q_OBJECT

private slots:
    void anIdleLinkWakesOnlyAFewTimesASecond()
    {
        SimLink link(true);
        QCOMPARE(link.master->probeDevice(), int(BLPMaster::ProbeAnswered));
        QTest::qWait(200);
        const qint64 before = linkThreadWakeUps();
        QVERIFY(before > 0); // the threads are found by name
        QTest::qWait(1000);
        const qint64 wakeUps = linkThreadWakeUps() - before;
        // Naps of a millisecond or a few would give hundreds to a thousand.
        QVERIFY2(wakeUps < 60, qPrintable(QString::number(wakeUps)));
    }

    // Operations and stops wake the sleeping threads: without that, each would wait for the
    // rest of a sleep, some 70 ms after an idle spell of 130 ms. The times are taken less
    // the time the process waited for a processor, so a loaded machine does not fail them.
    void operationsAndStopsAfterAnIdleSpellAreNotHeldUp()
    {
        SimLink link(true);
        QList<qint64> probes, infos, resets;
        QStringList figures;
        const auto note = [&](QList<qint64> &into, const SchedulingAwareTimer &t) {
            into.append(t.unloadedMs());
            figures << t.describe();
        };
        for (int round = 0; round < 7; ++round) {
            QTest::qWait(130);
            note(probes, timed([&] {
                     QCOMPARE(link.master->probeDevice(), int(BLPMaster::ProbeAnswered));
                 }));
            QTest::qWait(130);
            note(infos, timed([&] {
                     QString name;
                     int sw = 0, hw = 0;
                     QVERIFY(link.master->readDeviceInfo(name, sw, hw));
                 }));
            QTest::qWait(130);
            note(resets, timed([&] { link.master->resetLink(); }));
            link.reconnect();
        }
        const QByteArray all = figures.join(QLatin1String("; ")).toLocal8Bit();
        QVERIFY2(median(probes) < 20, all.constData());
        QVERIFY2(median(infos) < 25, all.constData());
        QVERIFY2(median(resets) < 20, all.constData());
    }

    void aTimeOutStillEndsAnOperationThatIsNeverAnswered()
    {
        SimLink link(true, 150);
        link.device->dropAnswers(1);
        const qint64 ms =
            elapsedMs([&] { QCOMPARE(link.master->probeDevice(), int(BLPMaster::ProbeNoAnswer)); });
        QVERIFY2(ms >= 140 && ms < 1000, qPrintable(QString::number(ms)));
        QVERIFY(link.master->isLinkLost());
    }
};

QTEST_GUILESS_MAIN(MasterIdle)
#include "test_master_idle.moc"
