#include <QtTest>

#include "blpmaster.h"
#include "blpmphyusb.h"
#include "simulatedcontroller.h"
#include "simulateddevice.h"
#include "simulatedftdidriver.h"
#include "firmware/firmwarefile.h"
#include "firmware/firmwareupdatedialog.h"
#include "syntheticfirmware.h"
#include "views/widgets/userprompts.h"

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <chrono>

using namespace std::chrono_literals;

namespace
{

// A simulated bus installed for the test's lifetime, wire-time model off.
struct SimulatedBus {
    SimulatedBus() { driver.setWireTimeModel(false); }
    SimulatedDevice *addController() { return driver.addController(); }
    SimulatedFtdiDriver driver;
    ScopedFtdiDriver installed{&driver};
};

// Answers the dialog's file chooser with prepared names, message boxes with OK, and keeps
// each prompt.
struct ScriptedPrompts {
    ScriptedPrompts()
    {
        UserPrompts::setAnswerer([this](const UserPrompts::Prompt &prompt) {
            asked.append(prompt);
            if (prompt.kind == UserPrompts::Kind::Information)
                return UserPrompts::Answer{QMessageBox::Ok, QString()};
            if (files.isEmpty()) {
                ++unexpected;
                return UserPrompts::Answer{QMessageBox::Cancel, QString()};
            }
            return UserPrompts::Answer{QMessageBox::NoButton, files.takeFirst()};
        });
    }
    ~ScriptedPrompts() { UserPrompts::setAnswerer({}); }
    void thenChooseFile(const QString &name) { files.append(name); }
    void thenCancelFileDialog() { files.append(QString()); }

    QList<UserPrompts::Prompt> asked;
    QStringList files;
    int unexpected = 0;
};

} // namespace

// The firmware dialog against the simulated controller, with made-up images.
class FirmwareUpdateDialog : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    // The link the window would hand over.
    struct Link {
        Link()
        {
            master.attachPhy(&phy);
            phy.setDeviceIndex(0);
            master.connectDevice();
            master.setResponseTimeout(2000);
        }
        ~Link() { master.resetLink(); }
        BLPMaster master;
        BLPmPhyUSB phy;
    };

    static QPushButton *button(FirmwareUpdateDlg &dialog, const char *name)
    {
        return dialog.findChild<QPushButton *>(name);
    }

    static QLabel *label(FirmwareUpdateDlg &dialog, const char *name)
    {
        return dialog.findChild<QLabel *>(name);
    }

    QString writeImage(const QString &name, const QByteArray &contents)
    {
        const QString path = dir.filePath(name);
        return SyntheticFirmware::write(path, contents) ? path : QString();
    }

    // Offers the devices (the first one selected), switches to the alternative mode and loads
    // path through the file chooser.
    static void loadFile(FirmwareUpdateDlg &dialog, ScriptedPrompts &prompts, const QString &path,
                         const QList<int> &devices = {0})
    {
        dialog.setDevices(devices, devices.isEmpty() ? -1 : devices.first());
        dialog.on_lblMode_Link_clicked("alternative-update-file");
        prompts.thenChooseFile(path);
        QTest::mouseClick(button(dialog, "bttn_load"), Qt::LeftButton);
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void anUpdateProgramsTheImageIntoTheControllerWithTheBarReaching100()
    {
        SimulatedBus bus;
        SimulatedDevice *device = bus.addController();
        Link link;
        const QByteArray image =
            SyntheticFirmware::image("KDR-450P", {SyntheticFirmware::sectorData(3000, 1),
                                                  SyntheticFirmware::sectorData(512, 2)});
        const QString path = writeImage("good.bl2", image);
        ScriptedPrompts prompts;
        FirmwareUpdateDlg dialog;
        dialog.setLink(&link.master, &link.phy);
        loadFile(dialog, prompts, path);
        QVERIFY(dialog.isFileUsable());
        QVERIFY(label(dialog, "lbl_fileStatus")->text().contains("green"));
        QVERIFY(button(dialog, "bttn_update")->isEnabled());
        QCOMPARE(dialog.programmedDevice(), -1);

        auto *bar = dialog.findChild<QProgressBar *>("progressBar");
        QSignalSpy values(bar, &QProgressBar::valueChanged);
        QTest::mouseClick(button(dialog, "bttn_update"), Qt::LeftButton);
        QVERIFY(dialog.isBusy());
        QVERIFY(!button(dialog, "bttnDiscover")->isEnabled());
        QVERIFY(QTest::qWaitFor([&] { return !dialog.isBusy(); }, 20000));
        QVERIFY(!values.isEmpty());
        QCOMPARE(values.last().first().toInt(), 100);
        QVERIFY(bar->isHidden());
        QVERIFY(button(dialog, "bttn_update")->isEnabled());

        SimulatedController *controller = device->controller();
        QCOMPARE(controller->firmwareHeader(), image.left(256));
        const QList<SimulatedController::FirmwareSectorReceipt> sectors =
            controller->firmwareSectors();
        QCOMPARE(sectors.size(), 2);
        QCOMPARE(sectors[0].data, SyntheticFirmware::sectorData(3000, 1));
        QCOMPARE(sectors[1].index, quint16(1));
        QCOMPARE(sectors[1].data, SyntheticFirmware::sectorData(512, 2));
        QVERIFY(prompts.unexpected == 0);
        // The window names the programmed device once it has searched again.
        QCOMPARE(dialog.programmedDevice(), 0);
    }

    void theDeviceListNamesEachControllerWithItsLabelAndFirmware()
    {
        SimulatedBus bus;
        bus.addController()->controller()->setLabel("Stage left");
        bus.addController()->controller()->setSoftwareVersion(0x0102);
        Link link;
        FirmwareUpdateDlg dialog;
        dialog.setLink(&link.master, &link.phy);
        QTest::mouseClick(button(dialog, "bttnDiscover"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return !dialog.isBusy(); }, 20000));
        auto *combo = dialog.findChild<QComboBox *>("devicesCombo");
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(0), QString("KDR-450P #1 (Stage left), firmware 1.3"));
        QCOMPARE(combo->itemText(1), QString("KDR-450P #2, firmware 1.2"));
    }

    void withoutABuiltInImageTheDefaultModeSaysSoAndOffersTheAlternativeFile()
    {
        if (FirmwareFile::hasBuiltinImage())
            QSKIP("this build embeds a firmware image");
        FirmwareUpdateDlg dialog;
        dialog.setDevices({0, 1}, 0);
        QVERIFY(!dialog.isAlternativeMode());
        QVERIFY(!dialog.isFileUsable());
        QVERIFY(!button(dialog, "bttn_update")->isEnabled());
        const QString text = label(dialog, "lbl_fileOpenMode")->text();
        QVERIFY(text.contains("No built-in firmware update file is available."));
        QVERIFY(text.contains("href=\"alternative-update-file\""));

        dialog.on_lblMode_Link_clicked("alternative-update-file");
        QVERIFY(dialog.isAlternativeMode());
        QVERIFY(!button(dialog, "bttn_load")->isHidden());
        QVERIFY(label(dialog, "lbl_fileOpenMode")->text().contains("href=\"default-update-file\""));
    }

    void returningToTheDefaultModeDropsTheChosenFileAndHidesTheStatus()
    {
        const QString path = writeImage("back.bl2", SyntheticFirmware::oneSector("KDR-450P", 1024));
        ScriptedPrompts prompts;
        FirmwareUpdateDlg dialog;
        loadFile(dialog, prompts, path);
        QVERIFY(dialog.isFileUsable());
        dialog.on_lblMode_Link_clicked("default-update-file");
        QVERIFY(!dialog.isAlternativeMode());
        QVERIFY(label(dialog, "lbl_fileStatus")->isHidden());
        QVERIFY(button(dialog, "bttn_load")->isHidden());
        QCOMPARE(dialog.isFileUsable(), FirmwareFile::hasBuiltinImage());
    }

    void withNoDevicesUpdateStaysDisabledEvenWithAUsableFile()
    {
        const QString path =
            writeImage("nodev.bl2", SyntheticFirmware::oneSector("KDR-450P", 1024));
        ScriptedPrompts prompts;
        FirmwareUpdateDlg dialog;
        loadFile(dialog, prompts, path, {});
        QVERIFY(dialog.isFileUsable());
        QVERIFY(!button(dialog, "bttn_update")->isEnabled());
    }

    void theFileStatusLineIsColouredByWhatTheFileIs_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("colour");
        QTest::addColumn<QString>("says");
        QTest::addColumn<bool>("usable");
        const QByteArray good = SyntheticFirmware::oneSector("KDR-450P", 1024);
        QByteArray damaged = good;
        damaged[1500] = char(damaged.at(1500) ^ 0x10);
        QTest::newRow("for this controller") << good << "green"
                                             << " is OK." << true;
        QTest::newRow("for another device")
            << SyntheticFirmware::oneSector("PLV-300", 1024) << "grey"
            << " does not contain a firmware update for the connected device." << false;
        QTest::newRow("with a wrong checksum") << damaged << "red"
                                               << " is not a valid BL2 file." << false;
        QTest::newRow("without its magic") << QByteArray(2000, 'x') << "red"
                                           << " is not a valid BL2 file." << false;
    }

    void theFileStatusLineIsColouredByWhatTheFileIs()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, colour);
        QFETCH(QString, says);
        QFETCH(bool, usable);
        const QString path = writeImage("status.bl2", contents);
        ScriptedPrompts prompts;
        FirmwareUpdateDlg dialog;
        loadFile(dialog, prompts, path);
        QCOMPARE(dialog.isFileUsable(), usable);
        QCOMPARE(button(dialog, "bttn_update")->isEnabled(), usable);
        QCOMPARE(
            label(dialog, "lbl_fileStatus")->text(),
            QStringLiteral("<font color =\"%1\">The file %2%3</font>").arg(colour, path, says));
    }

    // A last sector of four segments: a failure says so in a message box titled as every
    // other, and names the cause; silence on the final segment alone counts as the restart.
    void aFailedUpdateSaysTheControllerWasNotProgrammedAndWhy_data()
    {
        QTest::addColumn<QByteArray>("fault");
        QTest::addColumn<int>("at");
        QTest::addColumn<QString>("why");
        QTest::newRow("error status on the first segment")
            << QByteArray("status") << 3 << "The controller answered status 3.";
        QTest::newRow("silent after the second segment")
            << QByteArray("silent") << 2 << "The controller did not answer within 3000 ms.";
        QTest::newRow("another kind of controller")
            << QByteArray("name") << 0
            << "The device is not a KDR-450P; nothing was written to it.";
        QTest::newRow("silent on the final segment only") << QByteArray("silent") << 3 << QString();
        QTest::newRow("restarting after the final segment")
            << QByteArray("restart") << 0 << QString();
    }

    void aFailedUpdateSaysTheControllerWasNotProgrammedAndWhy()
    {
        QFETCH(QByteArray, fault);
        QFETCH(int, at);
        QFETCH(QString, why);
        SimulatedBus bus;
        SimulatedController *controller = bus.addController()->controller();
        if (fault == "status")
            controller->setLastSectorFaults({quint8(at), -1});
        else if (fault == "silent")
            controller->setLastSectorFaults({0, at});
        else if (fault == "restart")
            controller->setRestartsAfterFirmware(true);
        else
            controller->setName("KDR-200");
        Link link;
        const QString path = writeImage(
            "faults.bl2",
            SyntheticFirmware::image("KDR-450P", {SyntheticFirmware::sectorData(700, 1),
                                                  SyntheticFirmware::sectorData(256, 2)}));
        ScriptedPrompts prompts;
        FirmwareUpdateDlg dialog;
        dialog.setLink(&link.master, &link.phy);
        loadFile(dialog, prompts, path);
        prompts.asked.clear();
        QTest::mouseClick(button(dialog, "bttn_update"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return !dialog.isBusy(); }, 20000));
        QVERIFY(dialog.findChild<QProgressBar *>("progressBar")->isHidden());
        if (why.isEmpty()) {
            QCOMPARE(prompts.asked.size(), 0);
            QCOMPARE(dialog.programmedDevice(), 0);
            return;
        }
        QCOMPARE(prompts.asked.size(), 1);
        QCOMPARE(prompts.asked[0].kind, UserPrompts::Kind::Information);
        QCOMPARE(prompts.asked[0].title, QString("KDR-450P Fixture Library Editor"));
        QCOMPARE(prompts.asked[0].text,
                 QStringLiteral("The firmware was not programmed on KDR-450P #1.\n") + why);
        QCOMPARE(dialog.programmedDevice(), -1);
        QVERIFY(button(dialog, "bttn_update")->isEnabled());
    }

    void cancellingTheFileChooserKeepsTheFileButForgetsTheLastPath()
    {
        const QString path = writeImage("keep.bl2", SyntheticFirmware::oneSector("KDR-450P", 1024));
        ScriptedPrompts prompts;
        FirmwareUpdateDlg dialog;
        loadFile(dialog, prompts, path);
        prompts.thenCancelFileDialog();
        QTest::mouseClick(button(dialog, "bttn_load"), Qt::LeftButton);
        QVERIFY(dialog.isFileUsable());
        QVERIFY(button(dialog, "bttn_update")->isEnabled());
        prompts.thenCancelFileDialog();
        QTest::mouseClick(button(dialog, "bttn_load"), Qt::LeftButton);
        QCOMPARE(prompts.asked.size(), 3);
        QCOMPARE(prompts.asked[1].directory, path);
        QCOMPARE(prompts.asked[2].directory, QString());
        QCOMPARE(prompts.asked[0].text, QString("Open a Brenlow Update File"));
        QCOMPARE(prompts.asked[0].filter, QString("BL2 files (*.bl2)"));
    }

    void whileAnUpdateRunsLinksAreIgnoredAndTheDialogStaysOpen()
    {
        SimulatedBus bus;
        SimulatedDevice *device = bus.addController();
        device->setAnswerDelay(5ms);
        Link link;
        const QString path = writeImage("slow.bl2", SyntheticFirmware::oneSector("KDR-450P", 4096));
        ScriptedPrompts prompts;
        FirmwareUpdateDlg dialog;
        dialog.setLink(&link.master, &link.phy);
        dialog.show();
        loadFile(dialog, prompts, path);
        QTest::mouseClick(button(dialog, "bttn_update"), Qt::LeftButton);
        QVERIFY(dialog.isBusy());
        dialog.on_lblMode_Link_clicked("default-update-file");
        QVERIFY(dialog.isAlternativeMode());
        QVERIFY(!dialog.close());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        QVERIFY(QTest::qWaitFor([&] { return !dialog.isBusy(); }, 20000));
        QVERIFY(dialog.close());
    }

    void discoveryRefillsTheDeviceListFromTheBus()
    {
        SimulatedBus bus;
        bus.addController();
        bus.addController();
        Link link;
        FirmwareUpdateDlg dialog;
        dialog.setLink(&link.master, &link.phy);
        dialog.setDevices({}, -1);
        QTest::mouseClick(button(dialog, "bttnDiscover"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return !dialog.isBusy(); }, 10000));
        auto *combo = dialog.findChild<QComboBox *>("devicesCombo");
        QCOMPARE(combo->count(), 2);
        QVERIFY(combo->isEnabled());
    }
};

QTEST_MAIN(FirmwareUpdateDialog)
#include "test_firmware_update_dialog.moc"
