// Opens the QLC+ catalogue dialog on a generated catalogue of 4,000 modes, offscreen, and types
// into its filter. Prints the fill time (open to scan finished), the longest stall of the
// window's event loop while it fills, and the time of each filter keystroke (median and worst,
// CPU and wall, including the tree's layout). Target: every keystroke under 50 ms.
#include "guiinput.h"
#include "offscreenbenchapp.h"
#include "qxfbenchcatalogue.h"
#include "stopwatch.h"

#include "views/qxfcatalogdialog.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace
{

constexpr int FileCount = 1600; // 4,000 modes

} // namespace

int main(int argc, char *argv[])
{
    OffscreenBenchApp app(argc, argv);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("catalogue"));
    if (!dir.isValid() || !generateQxfCatalogue(folder, FileCount)) {
        std::fprintf(stderr, "cannot write the generated catalogue\n");
        return 1;
    }

    // A timer that should fire every millisecond shows how long the window stops answering.
    QElapsedTimer sinceTick;
    double longestStall = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestStall = std::max(longestStall, sinceTick.nsecsElapsed() / 1e6);
        sinceTick.start();
    });

    Stopwatch clock;
    clock.start();
    QxfCatalogDialog dialog(nullptr, nullptr, {folder});
    dialog.show();
    QEventLoop untilScanned;
    QObject::connect(&dialog, &QxfCatalogDialog::scanFinished, &untilScanned, &QEventLoop::quit);
    sinceTick.start();
    ticker.start(1);
    if (dialog.isScanning())
        untilScanned.exec();
    QApplication::processEvents();
    const double fillWall = clock.wallMs(), fillCpu = clock.cpuMs();
    ticker.stop();

    int modes = 0;
    const QAbstractItemModel *tree = dialog.filterModel();
    for (int m = 0; m < tree->rowCount(); ++m)
        for (int f = 0, n = tree->rowCount(tree->index(m, 0)); f < n; ++f)
            modes += tree->rowCount(tree->index(f, 0, tree->index(m, 0)));

    auto *filter = dialog.findChild<QLineEdit *>(QStringLiteral("filterLineEdit"));
    if (!filter || modes != FileCount / 4 * 10) {
        std::fprintf(stderr, "the dialog did not fill as expected (%d modes)\n", modes);
        return 1;
    }
    filter->setFocus();
    QList<double> keyCpu, keyWall;
    auto timeKey = [&](int key, const QString &text) {
        clock.start();
        sendKey(filter, key, text);
        QApplication::processEvents();
        keyCpu.append(clock.cpuMs());
        keyWall.append(clock.wallMs());
    };
    const QString typed = QStringLiteral("maker 11 fixture 1");
    for (const QChar c : typed)
        timeKey(0, QString(c));
    const int visible = tree->rowCount();
    for (int i = 0; i < typed.size(); ++i)
        timeKey(Qt::Key_Backspace, QString());

    std::printf("catalog modes: %d\n", modes);
    std::printf("catalog fill: %.0f ms (cpu %.0f ms), longest stall %.1f ms\n", fillWall, fillCpu,
                longestStall);
    std::printf("catalog filter: median %.1f ms (cpu %.1f), worst %.1f ms (cpu %.1f) a keystroke "
                "over %d keystrokes (target < 50 ms; \"%s\" leaves %d manufacturer(s))\n",
                median(keyWall), median(keyCpu), *std::max_element(keyWall.begin(), keyWall.end()),
                *std::max_element(keyCpu.begin(), keyCpu.end()), int(keyWall.size()),
                qPrintable(typed), visible);
    return 0;
}
