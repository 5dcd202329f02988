// Opens a 10,000-definition library in the window and filters it, offscreen.
// Prints: core load time, window open time and their ratio; one refilter with its counter
// update; deleting every other row (5,000) and undoing that, each in CPU and wall time; the load
// average. Targets: window open at most 2 x core load; one refilter at most 30 ms; the delete and
// its undo at most 300 ms each.
#include "guiinput.h"
#include "offscreenbenchapp.h"
#include "stopwatch.h"

#include "app/mainwindow.h"
#include "library/blflarchive.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"
#include "simulatedftdidriver.h"
#include "views/libraryform.h"
#include "views/widgets/userprompts.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QApplication>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace
{

constexpr int DefinitionCount = 10000;

bool writeBenchLibrary(const QString &path)
{
    const char *makers[] = {"Orbis Lighting", "Kestrel FX",   "Halden Stage", "Norvik",
                            "Trillum",        "Ostara Light", "Vanta Pro",    "Lumeria"};
    const char *kinds[] = {"Spot", "Wash", "Beam", "Par", "Strobe", "Bar", "Profile", "Hazer"};
    QList<QBLFixtureDefinition *> definitions;
    for (int i = 0; i < DefinitionCount; ++i) {
        auto *definition = new QBLFixtureDefinition;
        definition->setFixtureName(
            QStringLiteral("%1 %2").arg(QLatin1String(kinds[i % 8])).arg(100 + i));
        definition->setManufacturerName(QLatin1String(makers[(i / 8) % 8]));
        const int channels = 1 + i % 24;
        for (int c = 1; c <= channels; ++c) {
            auto *channel = new QBLFixtureChannel(definition);
            channel->setNumber(c);
            channel->setName(QStringLiteral("Channel %1").arg(c));
            definition->channels().append(channel);
        }
        definitions.append(definition);
    }
    BLFLArchive archive(path);
    archive.setDefinitions(&definitions);
    const bool saved = archive.save();
    qDeleteAll(definitions);
    return saved;
}

} // namespace

int main(int argc, char *argv[])
{
    OffscreenBenchApp app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());

    const QString path = dir.filePath(QStringLiteral("bench.blfl"));
    if (!writeBenchLibrary(path)) {
        std::fprintf(stderr, "could not write the bench library\n");
        return 1;
    }

    Stopwatch clock;
    {
        // Warm-up: the first read of the file also pays for the page cache.
        BLFLArchive warmUp(path);
        warmUp.load();
    }
    clock.start();
    {
        BLFLArchive archive(path);
        if (!archive.load()) {
            std::fprintf(stderr, "could not load the bench library\n");
            return 1;
        }
    }
    const double coreWall = clock.wallMs(), coreCpu = clock.cpuMs();

    // The window searches an empty simulated bus, never the machine's serial ports.
    SimulatedFtdiDriver bus;
    bus.setWireTimeModel(false);
    ScopedFtdiDriver installed(&bus);
    FtdiDriver::forbidPlatformBackend();
    MainWindow window;
    window.show();
    QApplication::processEvents();
    UserPrompts::setAnswerer([&](const UserPrompts::Prompt &) {
        return UserPrompts::Answer{QMessageBox::NoButton, path};
    });
    auto *open = window.findChild<QAction *>(QStringLiteral("action_Open_Archive"));
    auto *table = window.findChild<QTableView *>(QStringLiteral("fixtureDefinitionsTableView"));
    auto *pane = window.findChild<LibraryForm *>(QStringLiteral("libraryForm"));
    auto *filter = window.findChild<QLineEdit *>(QStringLiteral("filterLineEdit"));
    auto *fixtureName = window.findChild<QLineEdit *>(QStringLiteral("fixtureName"));
    if (!open || !table || !pane || !filter || !fixtureName) {
        std::fprintf(stderr, "the window lacks a widget this bench drives\n");
        return 1;
    }

    clock.start();
    open->trigger();
    QApplication::processEvents();
    const double windowWall = clock.wallMs(), windowCpu = clock.cpuMs();
    UserPrompts::setAnswerer({});

    const QString lastName = QStringLiteral("Hazer %1").arg(100 + DefinitionCount - 1);
    if (table->model()->rowCount() != DefinitionCount || fixtureName->text() != lastName) {
        std::fprintf(stderr, "the library did not open as expected (%d rows, editor '%s')\n",
                     table->model()->rowCount(), qPrintable(fixtureName->text()));
        return 1;
    }

    filter->setFocus();
    typeText(filter, QStringLiteral("Spot 5"));
    // The median of several runs of the same refilter, so one scheduling hiccup of a shared
    // machine does not decide the figure.
    QList<double> filterCpu, counterCpu, totalCpu, totalWall;
    for (int run = 0; run < 7; ++run) {
        clock.start();
        QMetaObject::invokeMethod(pane, "updateFilter");
        const double filtered = clock.cpuMs();
        QMetaObject::invokeMethod(pane, "updateCounter");
        const double counted = clock.cpuMs();
        totalWall.append(clock.wallMs());
        filterCpu.append(filtered);
        counterCpu.append(counted - filtered);
        totalCpu.append(counted);
    }
    const int visible = table->model()->rowCount();

    // Every other row: the most scattered deletion, the worst case for the model's signals.
    filter->clear();
    QMetaObject::invokeMethod(pane, "updateFilter");
    auto *undo = window.findChild<QAction *>(QStringLiteral("actionUndo"));
    if (!undo || table->model()->rowCount() != DefinitionCount) {
        std::fprintf(stderr, "the window lacks its Undo action or the filter did not clear\n");
        return 1;
    }
    QList<double> deleteCpu, deleteWall, undoCpu, undoWall;
    for (int run = 0; run < 5; ++run) {
        QItemSelection half;
        for (int row = 0; row < DefinitionCount; row += 2)
            half.select(table->model()->index(row, 0), table->model()->index(row, 2));
        table->selectionModel()->select(half, QItemSelectionModel::ClearAndSelect);
        QApplication::processEvents();
        // Each timing includes the table's repaint, which the user waits for too.
        clock.start();
        QMetaObject::invokeMethod(pane, "deleteSelected");
        QApplication::processEvents();
        deleteCpu.append(clock.cpuMs());
        deleteWall.append(clock.wallMs());
        if (table->model()->rowCount() != DefinitionCount / 2) {
            std::fprintf(stderr, "the delete left %d rows\n", table->model()->rowCount());
            return 1;
        }
        clock.start();
        undo->trigger();
        QApplication::processEvents();
        undoCpu.append(clock.cpuMs());
        undoWall.append(clock.wallMs());
        if (table->model()->rowCount() != DefinitionCount ||
            pane->selectedDefinitions().size() != DefinitionCount / 2) {
            std::fprintf(stderr, "the undo did not bring back and select the deleted rows\n");
            return 1;
        }
    }

    std::printf("definitions: %d count\n", DefinitionCount);
    std::printf("core_load_cpu: %.1f ms\n", coreCpu);
    std::printf("core_load_wall: %.1f ms\n", coreWall);
    std::printf("window_open_cpu: %.1f ms\n", windowCpu);
    std::printf("window_open_wall: %.1f ms\n", windowWall);
    std::printf("window_open_ratio: %.2f x (cpu; target <= 2.00)\n", windowCpu / coreCpu);
    std::printf("refilter_cpu: %.1f ms\n", median(filterCpu));
    std::printf("counter_update_cpu: %.1f ms\n", median(counterCpu));
    std::printf("refilter_and_counter_cpu: %.1f ms (target <= 30.0, %d rows visible)\n",
                median(totalCpu), visible);
    std::printf("refilter_and_counter_wall: %.1f ms\n", median(totalWall));
    std::printf("delete_5000_of_10000_cpu: %.1f ms (target <= 300.0)\n", median(deleteCpu));
    std::printf("delete_5000_of_10000_wall: %.1f ms (target <= 300.0)\n", median(deleteWall));
    std::printf("undo_delete_5000_cpu: %.1f ms (target <= 300.0)\n", median(undoCpu));
    std::printf("undo_delete_5000_wall: %.1f ms (target <= 300.0)\n", median(undoWall));
    std::printf("load_average: %s\n", qPrintable(loadAverage()));
    return 0;
}
