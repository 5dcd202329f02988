// Idle cost of the editor window: the window open, a simulated controller connected (wire-time
// model on), no operation running; prints the process's CPU time over 10 s as a share of one
// core. The connection poll (every 300 ms) is included.
#include "app/mainwindow.h"
#include "demodevices.h"
#include "ftdidriver.h"
#include "simulatedftdidriver.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMap>
#include <QTimer>

#include <functional>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace
{

double processCpuSeconds()
{
    timespec ts{};
    if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts) != 0)
        return -1;
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// Runs the event loop (sleeping, not spinning) until ready() holds or ms have passed.
bool runUntil(const std::function<bool()> &ready, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!ready()) {
        if (clock.elapsed() >= ms)
            return false;
        QEventLoop loop;
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

struct ThreadCost {
    double cpuSeconds = 0;
    double wakeUps = 0;
};

// CPU time and voluntary switches of each live thread by name, from /proc, so that the
// report shows where the idle cost goes.
QMap<QString, ThreadCost> threadCosts()
{
    QMap<QString, ThreadCost> byName;
    const QStringList tasks =
        QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &task : tasks) {
        const QString dir = QStringLiteral("/proc/self/task/%1/").arg(task);
        QFile comm(dir + QStringLiteral("comm")), sched(dir + QStringLiteral("schedstat")),
            status(dir + QStringLiteral("status"));
        if (!comm.open(QIODevice::ReadOnly) || !sched.open(QIODevice::ReadOnly) ||
            !status.open(QIODevice::ReadOnly))
            continue;
        ThreadCost &cost = byName[QString::fromUtf8(comm.readAll().trimmed())];
        // schedstat: nanoseconds on the CPU, nanoseconds waiting, time slices.
        cost.cpuSeconds += sched.readAll().split(' ').value(0).toDouble() / 1e9;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("voluntary_ctxt_switches:"))
                cost.wakeUps += line.mid(line.indexOf(':') + 1).trimmed().toDouble();
        }
    }
    return byName;
}

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Keep the settings of a real user out of it.
    QCoreApplication::setOrganizationName(QStringLiteral("kdr450p-bench"));
    qputenv("XDG_CONFIG_HOME", QByteArray("/tmp/kdr450p-bench-config"));

    SimulatedFtdiDriver driver;
    addDemoControllers(driver);
    ScopedFtdiDriver installed(&driver);

    // Debug lines of the link would cost time that a user's session does not pay.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});

    MainWindow window;
    window.show();
    const bool settled =
        runUntil([&] { return !window.isOperationRunning() && window.isDeviceConnected(); }, 20000);
    if (!settled) {
        std::fprintf(stderr, "the window did not connect to the simulated controller\n");
        return 1;
    }
    runFor(500);

    const QMap<QString, ThreadCost> threadsBefore = threadCosts();
    const double cpuBefore = processCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    runFor(10000);
    const double cpu = processCpuSeconds() - cpuBefore;
    const double seconds = double(wall.elapsed()) / 1000.0;
    const bool stillConnected = window.isDeviceConnected() && !window.isOperationRunning();

    std::printf("idle cpu: %.2f %%\n", 100.0 * cpu / seconds);
    const QMap<QString, ThreadCost> threadsAfter = threadCosts();
    for (auto it = threadsAfter.cbegin(); it != threadsAfter.cend(); ++it) {
        const ThreadCost before = threadsBefore.value(it.key());
        const double share = 100.0 * (it.value().cpuSeconds - before.cpuSeconds) / seconds;
        const double wakeUps = (it.value().wakeUps - before.wakeUps) / seconds;
        if (share < 0.01)
            continue;
        std::printf("idle cpu of thread %s: %.3f %%\n", qPrintable(it.key()), share);
        std::printf("idle wake-ups of thread %s: %.0f per s\n", qPrintable(it.key()), wakeUps);
    }
    std::printf("window connected throughout: %s\n", stillConnected ? "yes" : "no");
    return stillConnected ? 0 : 1;
}
