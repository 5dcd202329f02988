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

// Answers the dialog's file chooser with prepared names and keeps each prompt.
struct ScriptedPrompts {
    ScriptedPrompts()
    {
        UserPrompts::setAnswerer([this](const UserPrompts::Prompt &prompt) {
            asked.append(prompt);
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

    // Switches to the alternative mode and loads path through the file chooser.
    static void loadFile(FirmwareUpdateDlg &dialog, ScriptedPrompts &prompts, const QString &path)
    {
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
        dialog.setDevices({0}, 0);
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
        quint32 sum0 = 0;
        for (char c : SyntheticFirmware::sectorData(3000, 1))
            sum0 += uchar(c);
        QCOMPARE(sectors[0].length, qint64(3000));
        QCOMPARE(sectors[0].byteSum, sum0);
        QCOMPARE(sectors[1].index, quint16(1));
        QCOMPARE(sectors[1].length, qint64(512));
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
        dialog.setDevices({0}, 0);
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
        dialog.setDevices({}, -1);
        loadFile(dialog, prompts, path);
        QVERIFY(dialog.isFileUsable());
        QVERIFY(!button(dialog, "bttn_update")->isEnabled());
    }

    void aFileForAnotherDeviceIsShownInGreyAndCannotBeSent()
    {
        const QString path = writeImage("other.bl2", SyntheticFirmware::oneSector("PLV-300", 1024));
        ScriptedPrompts prompts;
        FirmwareUpdateDlg dialog;
        dialog.setDevices({0}, 0);
        loadFile(dialog, prompts, path);
        QVERIFY(!dialog.isFileUsable());
        QVERIFY(!button(dialog, "bttn_update")->isEnabled());
        const QString status = label(dialog, "lbl_fileStatus")->text();
        QVERIFY(status.contains("grey"));
        QVERIFY(status.contains("does not contain a firmware update for the connected device."));
    }

    void cancellingTheFileChooserKeepsTheFileButForgetsTheLastPath()
    {
        const QString path = writeImage("keep.bl2", SyntheticFirmware::oneSector("KDR-450P", 1024));
        ScriptedPrompts prompts;
        FirmwareUpdateDlg dialog;
        dialog.setDevices({0}, 0);
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
        dialog.setDevices({0}, 0);
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
