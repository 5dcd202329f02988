// Uploads 40 fixture definitions of 24 channels to a simulated KDR-450P, downloads them
// again, and compares the elapsed time with the time the bytes take on a 250000 baud 8N2
// line (the simulator's wire-time model, on). Prints "name: value unit" lines.

#include "blpmaster.h"
#include "blpmphyusb.h"
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

namespace
{

constexpr int Definitions = 40;
constexpr int Channels = 24;

double wireSeconds(quint64 bytes)
{
    return double(bytes) * double(SimulatedDevice::ByteTime.count()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);

    SimulatedFtdiDriver driver;
    driver.setWireTimeModel(true);
    SimulatedDevice *device = driver.addController();
    device->controller()->setCapacity(Definitions);
    ScopedFtdiDriver installed(&driver);

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

    const quint64 inBefore = device->bytesReceived();
    const quint64 outBefore = device->bytesSent();
    QElapsedTimer timer;
    timer.start();
    uploader.start();
    uploader.wait();
    const qint64 uploadNs = timer.nsecsElapsed();
    const quint64 uploadBytes =
        device->bytesReceived() - inBefore + device->bytesSent() - outBefore;
    if (!uploaded) {
        std::fprintf(stderr, "transfer_bench: the upload failed\n");
        return 1;
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
    const quint64 inMid = device->bytesReceived();
    const quint64 outMid = device->bytesSent();
    timer.restart();
    downloader.start();
    downloader.wait();
    const qint64 downloadNs = timer.nsecsElapsed();
    const quint64 downloadBytes = device->bytesReceived() - inMid + device->bytesSent() - outMid;
    if (!downloaded || downloader.downloadedDefinitions().size() != Definitions) {
        std::fprintf(stderr, "transfer_bench: the download failed\n");
        return 1;
    }
    master.resetLink();

    const double upload = double(uploadNs) / 1e9;
    const double download = double(downloadNs) / 1e9;
    const double upWire = wireSeconds(uploadBytes);
    const double downWire = wireSeconds(downloadBytes);
    out.setRealNumberNotation(QTextStream::FixedNotation);
    out.setRealNumberPrecision(3);
    out << "definitions: " << Definitions << " count\n";
    out << "channels_per_definition: " << Channels << " count\n";
    out << "upload_elapsed: " << upload << " s\n";
    out << "upload_wire_time: " << upWire << " s\n";
    out << "upload_ratio: " << upload / upWire << " x\n";
    out << "download_elapsed: " << download << " s\n";
    out << "download_wire_time: " << downWire << " s\n";
    out << "download_ratio: " << download / downWire << " x\n";
    out << "elapsed: " << upload + download << " s\n";
    out << "wire_time: " << upWire + downWire << " s\n";
    out << "ratio: " << (upload + download) / (upWire + downWire) << " x\n";
    out << "bytes_exchanged: " << uploadBytes + downloadBytes << " bytes\n";
    return 0;
}
