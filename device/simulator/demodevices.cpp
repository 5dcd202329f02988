#include "demodevices.h"

#include "simulatedftdidriver.h"

#include <QByteArray>
#include <QList>

#include <cstring>

namespace
{

struct DemoChannel {
    const char *shortName;
    const char *name;
};

struct DemoFixture {
    const char *name;
    const char *manufacturer;
    quint8 type;
    QList<DemoChannel> channels;
};

// Latin-1 text, zero-terminated when shorter than its field.
void putText(QByteArray &record, int offset, int width, const QByteArray &text)
{
    const int n = qMin(int(text.size()), width);
    std::memcpy(record.data() + offset, text.constData(), size_t(n));
}

// A stored record in the controller's layout: 244-byte header, then 45 channel entries of
// 112 bytes (short name 12, name 100). Short names are the automatic ones.
QByteArray demoRecord(const DemoFixture &f)
{
    constexpr int HeaderSize = 244;
    constexpr int EntrySize = 112;
    QByteArray record(SimulatedController::RecordSize, '\0');
    putText(record, 0, 100, f.name);
    putText(record, 100, 20, QByteArray(f.name).left(20));
    putText(record, 120, 100, f.manufacturer);
    putText(record, 220, 20, QByteArray(f.manufacturer).left(20));
    record[240] = char(f.channels.size());
    record[241] = char(f.type);
    for (int i = 0; i < f.channels.size(); ++i) {
        const int entry = HeaderSize + EntrySize * i;
        putText(record, entry, 12, f.channels[i].shortName);
        putText(record, entry + 12, 100, f.channels[i].name);
    }
    return record;
}

const QList<DemoFixture> &demoFixtures()
{
    static const QList<DemoFixture> fixtures = {
        {"Spot 250 Moving Head",
         "Demo Lighting",
         0,
         {{"Pan", "Pan"},
          {"Tilt", "Tilt"},
          {"Pan fine", "Pan fine"},
          {"Tilt fine", "Tilt fine"},
          {"Speed", "Pan/tilt speed"},
          {"Colour", "Colour wheel"},
          {"Gobo", "Gobo wheel"},
          {"Shutter", "Shutter"},
          {"Dimmer", "Dimmer"}}},
        {"Scanner 575",
         "Demo Lighting",
         1,
         {{"Pan", "Pan"},
          {"Tilt", "Tilt"},
          {"Colour", "Colour wheel"},
          {"Gobo", "Gobo wheel"},
          {"Shutter", "Shutter/dimmer"}}},
        {"LED Par 64 RGB",
         "Stagecraft Works",
         2,
         {{"Red", "Red"},
          {"Green", "Green"},
          {"Blue", "Blue"},
          {"Dimmer", "Master dimmer"},
          {"Strobe", "Strobe"}}},
        {"Dimmer Pack 4",
         "Stagecraft Works",
         4,
         {{"Ch 1", "Dimmer 1"}, {"Ch 2", "Dimmer 2"}, {"Ch 3", "Dimmer 3"}, {"Ch 4", "Dimmer 4"}}},
        {"Hazer 1000", "Fogworks", 7, {{"Output", "Haze output"}, {"Fan", "Fan speed"}}},
    };
    return fixtures;
}

} // namespace

void addDemoControllers(SimulatedFtdiDriver &driver)
{
    SimulatedDevice *current = driver.addController(SimulatedFtdiDriver::DeviceDescription);
    SimulatedController *c = current->controller();
    c->setSoftwareVersion(0x0103);
    c->setHardwareVersion(0x0200);
    c->setLabel("Stage left");
    for (const DemoFixture &f : demoFixtures())
        c->storeRecord(demoRecord(f));

    SimulatedDevice *old = driver.addController(SimulatedFtdiDriver::DongleDescription);
    SimulatedController *o = old->controller();
    o->setSoftwareVersion(0x0102);
    o->setHardwareVersion(0x0100);
    o->setLabel("Rehearsal room");
    o->storeRecord(demoRecord(demoFixtures().at(2)));
}
