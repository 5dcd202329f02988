// Uploads 40 fixture definitions of 24 channels to a simulated KDR-450P, downloads them
// again, and compares the elapsed time with the time the bytes take on a 250000 baud 8N2
// line (the simulator's wire-time model, on). Prints "name: value unit" lines.
//
//   transfer_bench                              the simulated bus, in process
//   transfer_bench --backend serial|qtserial    that backend on a pseudo-terminal whose other
//                                               side is the simulated controller
//   transfer_bench --backend d2xx --d2xx-library PATH
//                                               the D2XX backend over that library (the tests'
//                                               stand-in, whose bus the bench cannot count:
//                                               the wire time is the in-process session's)

#include "blpmaster.h"
#include "blpmphyusb.h"
#include "d2xxftdidriver.h"
#include "qtserialftdidriver.h"
#ifdef KDR_WITH_TERMIOS2
#include "serialftdidriver.h"
#endif
#include "simulatedpty.h"
#include "simulateddevice.h"
#include "simulatedftdidriver.h"
#include "fixturedefinitionsdownloader.h"
#include "fixturedefinitionsuploader.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"
#include "qblremotefixturedefinition.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace
{

constexpr int Definitions = 40;
constexpr int Channels = 24;

double wireSeconds(quint64 bytes)
{
    return double(bytes) * double(SimulatedDevice::ByteTime.count()) / 1e6;
}

struct Figures {
    double upload = 0;   // seconds
    double download = 0; // seconds
    quint64 uploadBytes = 0;
    quint64 downloadBytes = 0;
};

// One upload and download of every definition through FtdiDriver::current(), on device 0;
// counted bytes come from counted (when given).
bool runSession(SimulatedDevice *counted, Figures *f)
{
    BLPmPhyUSB phy;
    BLPMaster master;
    phy.setDeviceIndex(0);
    master.attachPhy(&phy);
    master.connectDevice();
    master.setResponseTimeout(2000);

    FixtureDefinitionsUploader uploader;
    uploader.setMaster(&master);
    for (int i = 0; i < Definitions; ++i) {
        QBLFixtureDefinition def;
        def.setFixtureName(QStringLiteral("Bench fixture %1").arg(i));
        def.setManufacturerName(QStringLiteral("Bench Works"));
        for (int c = 1; c <= Channels; ++c) {
            auto *ch = new QBLFixtureChannel;
            ch->setName(QStringLiteral("Channel %1").arg(c));
            ch->setNumber(c);
            def.channels().append(ch);
        }
        uploader.addDefinition(def);
    }
    bool uploaded = false;
    QObject::connect(
        &uploader, &FixtureDefinitionsUploader::dataSent, &uploader, [&] { uploaded = true; },
        Qt::DirectConnection);

    auto exchanged = [counted] {
        return counted ? counted->bytesReceived() + counted->bytesSent() : 0;
    };
    const quint64 before = exchanged();
    QElapsedTimer timer;
    timer.start();
    uploader.start();
    uploader.wait();
    f->upload = double(timer.nsecsElapsed()) / 1e9;
    const quint64 mid = exchanged();
    f->uploadBytes = mid - before;
    if (!uploaded) {
        std::fprintf(stderr, "transfer_bench: the upload failed\n");
        return false;
    }

    FixtureDefinitionsDownloader downloader;
    downloader.setMaster(&master);
    for (int slot = 0; slot < Definitions; ++slot) {
        QBLRemoteFixtureDefinition entry;
        entry.setSlotNumber(quint8(slot));
        downloader.addDefinition(entry);
    }
    bool downloaded = false;
    QObject::connect(
        &downloader, &FixtureDefinitionsDownloader::fixturesDownloaded, &downloader,
        [&] { downloaded = true; }, Qt::DirectConnection);
    timer.restart();
    downloader.start();
    downloader.wait();
    f->download = double(timer.nsecsElapsed()) / 1e9;
    f->downloadBytes = exchanged() - mid;
    master.resetLink();
    if (!downloaded || downloader.downloadedDefinitions().size() != Definitions) {
        std::fprintf(stderr, "transfer_bench: the download failed\n");
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = QCoreApplication::arguments();
    const int b = int(args.indexOf(QStringLiteral("--backend")));
    const QString backend = b > 0 ? args.value(b + 1) : QStringLiteral("simulated");
    const int l = int(args.indexOf(QStringLiteral("--d2xx-library")));
    const QString d2xxLibrary = l > 0 ? args.value(l + 1) : QString();

    // The in-process session: the reference, and the bytes every backend exchanges.
    SimulatedFtdiDriver driver;
    driver.setWireTimeModel(true);
    SimulatedDevice *device = driver.addController();
    device->controller()->setCapacity(Definitions);
    Figures f;
    if (backend == QLatin1String("simulated") || backend == QLatin1String("d2xx")) {
        ScopedFtdiDriver installed(&driver);
        if (!runSession(device, &f))
            return 1;
    }
    if (backend == QLatin1String("d2xx")) {
        qputenv("KDR_D2XX_STANDIN_DEVICES", "dev");
        D2xxFtdiDriver d2xx(d2xxLibrary);
        QString error;
        if (!d2xx.load(&error)) {
            std::fprintf(stderr, "transfer_bench: %s\n", qPrintable(error));
            return 1;
        }
        ScopedFtdiDriver installed(&d2xx);
        Figures viaD2xx;
        if (!runSession(nullptr, &viaD2xx))
            return 1;
        viaD2xx.uploadBytes = f.uploadBytes;
        viaD2xx.downloadBytes = f.downloadBytes;
        f = viaD2xx;
    } else if (backend != QLatin1String("simulated")) {
        SimulatedPtyBridge pty(&driver);
        std::unique_ptr<FtdiDriver> serial;
        if (backend == QLatin1String("qtserial"))
            serial = std::make_unique<QtSerialFtdiDriver>(pty.slavePath());
#ifdef KDR_WITH_TERMIOS2
        else if (backend == QLatin1String("serial"))
            serial = std::make_unique<SerialFtdiDriver>(pty.slavePath());
#endif
        if (!serial || !pty.isOpen()) {
            std::fprintf(stderr, "transfer_bench: no such backend here: %s\n",
                         qPrintable(backend));
            return 2;
        }
        ScopedFtdiDriver installed(serial.get());
        if (!runSession(device, &f))
            return 1;
    }

    const double upWire = wireSeconds(f.uploadBytes);
    const double downWire = wireSeconds(f.downloadBytes);
    out.setRealNumberNotation(QTextStream::FixedNotation);
    out.setRealNumberPrecision(3);
    out << "backend: " << backend << "\n";
    out << "definitions: " << Definitions << " count\n";
    out << "channels_per_definition: " << Channels << " count\n";
    out << "upload_elapsed: " << f.upload << " s\n";
    out << "upload_wire_time: " << upWire << " s\n";
    out << "upload_ratio: " << f.upload / upWire << " x\n";
    out << "download_elapsed: " << f.download << " s\n";
    out << "download_wire_time: " << downWire << " s\n";
    out << "download_ratio: " << f.download / downWire << " x\n";
    out << "elapsed: " << f.upload + f.download << " s\n";
    out << "wire_time: " << upWire + downWire << " s\n";
    out << "ratio: " << (f.upload + f.download) / (upWire + downWire) << " x\n";
    out << "bytes_exchanged: " << f.uploadBytes + f.downloadBytes << " bytes\n";
    return 0;
}
