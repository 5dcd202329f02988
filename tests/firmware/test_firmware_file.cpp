#include "firmwarefile.h"
#include "syntheticfirmware.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

class FirmwareFileTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString store(const QByteArray &contents, const QString &name = QStringLiteral("fw.bl2"))
    {
        const QString path = m_dir.filePath(name);
        if (!SyntheticFirmware::write(path, contents))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    static void setChecksum(QByteArray &file, quint32 sum)
    {
        qToLittleEndian<quint32>(sum, file.data() + 100);
    }

private slots:
    void aOneSectorImageHasTheDocumentedSizesAndPlacement()
    {
        const QByteArray image = SyntheticFirmware::oneSector();
        FirmwareFile fw;
        QVERIFY(fw.load(store(image)));
        QVERIFY(fw.isValid());
        QCOMPARE(fw.sectorCount(), 1);
        QCOMPARE(fw.totalSize(), 77568);
        QCOMPARE(fw.sector(0).size(), 77312);
        QCOMPARE(fw.sector(0).data(), fw.headerBlock().data() + 1280);
        QCOMPARE(fw.headerBlock().size(), 256);
        QVERIFY(fw.sector(0) == QByteArrayView(image.mid(1280, 77312)));
        QVERIFY(fw.sector(1).isNull());
        QVERIFY(fw.sector(-1).isNull());
    }

    void theChecksumIsTheByteSumOfTheSectorData()
    {
        QByteArray image = SyntheticFirmware::oneSector();
        quint32 sum = 0;
        for (int i = 1280; i < 78592; ++i)
            sum += uchar(image.at(i));
        QCOMPARE(qFromLittleEndian<quint32>(image.constData() + 100), sum);

        image[2000] = char(image.at(2000) + 1);
        FirmwareFile fw;
        QVERIFY(!fw.load(store(image)));
        QVERIFY(!fw.isValid());
        QVERIFY(fw.statusText(QString()).contains(QLatin1String("is not a valid BL2 file.")));
    }

    void aWrongFifthMagicByteMakesTheFileInvalid()
    {
        QByteArray image = SyntheticFirmware::oneSector();
        image[4] = 'X';
        FirmwareFile fw;
        QVERIFY(!fw.load(store(image)));
        QVERIFY(!fw.isValid());
        QCOMPARE(fw.sectorCount(), -1);
        QCOMPARE(fw.totalSize(), -1);
        QVERIFY(fw.headerBlock().isNull());
    }

    void aMissingFileIsUnreadableAndSaysSo()
    {
        FirmwareFile fw;
        const QString path = m_dir.filePath(QStringLiteral("absent.bl2"));
        QVERIFY(!fw.load(path));
        QVERIFY(fw.isUnreadable());
        QCOMPARE(
            fw.statusText(QStringLiteral("KDR-450P")),
            QStringLiteral("<font color =\"red\">The file %1 is not readable.</font>").arg(path));
    }

    void theStatusTextTellsWhetherTheFileFitsTheConnectedDevice()
    {
        FirmwareFile fw;
        const QString path = store(SyntheticFirmware::oneSector());
        QVERIFY(fw.load(path));
        QCOMPARE(fw.statusText(QString()),
                 QStringLiteral("<font color =\"grey\">The file %1 is OK.</font>").arg(path));
        QCOMPARE(fw.statusText(QStringLiteral("KDR-450P")),
                 QStringLiteral("<font color =\"green\">The file %1 is OK.</font>").arg(path));
        QCOMPARE(fw.statusText(QStringLiteral("KDR-200")),
                 QStringLiteral("<font color =\"grey\">The file %1 does not contain a firmware "
                                "update for the connected device.</font>")
                     .arg(path));
        QVERIFY(fw.isForDevice(QStringLiteral("KDR-450P")));
        QVERIFY(!fw.isForDevice(QStringLiteral("kdr-450p")));
        QVERIFY(!fw.isForDevice(QString()));
    }

    void severalSectorsAreHandedOutWhereTheChecksumReadsThem()
    {
        using namespace SyntheticFirmware;
        // 1000 is no multiple of 256: the next sector starts at the next multiple.
        const QList<QByteArray> sectors = {sectorData(512, 1), sectorData(1000, 2),
                                           sectorData(1024, 3)};
        FirmwareFile fw;
        QVERIFY(fw.load(store(image(QStringLiteral("KDR-450P"), sectors))));
        QCOMPARE(fw.sectorCount(), 3);
        QCOMPARE(fw.totalSize(), 256 + 512 + 1000 + 1024);
        QCOMPARE(fw.sector(2).data() - fw.sector(0).data(), 512 + 1024);
        for (int i = 0; i < 3; ++i)
            QVERIFY(fw.sector(i) == QByteArrayView(sectors[i]));
    }

    void aFileWithNoSectorsIsValidAndAsLargeAsItsHeader()
    {
        FirmwareFile fw;
        QVERIFY(fw.load(store(SyntheticFirmware::image(QStringLiteral("KDR-450P"), {}))));
        QCOMPARE(fw.sectorCount(), 0);
        QCOMPARE(fw.totalSize(), 256);
    }

    void aFileOfAtMost256BytesGivesNoHeaderBlock()
    {
        const QByteArray image = SyntheticFirmware::image(QStringLiteral("KDR-450P"), {});
        FirmwareFile fw;
        QVERIFY(fw.load(store(image.left(256))));
        QVERIFY(fw.headerBlock().isNull());
    }

    void aFileShorterThanItsHeaderIsInvalidAtEveryLength()
    {
        const QByteArray image = SyntheticFirmware::image(QStringLiteral("KDR-450P"), {});
        for (int length : {0, 4, 5, 46, 47, 100, 103, 104, 255}) {
            FirmwareFile fw;
            QVERIFY2(!fw.load(store(image.left(length))), qPrintable(QString::number(length)));
            QVERIFY(!fw.isUnreadable());
            QVERIFY(fw.statusText(QString()).contains(QLatin1String("is not a valid BL2 file.")));
        }
    }

    void moreThanEightSectorsMakeTheFileInvalid()
    {
        QList<QByteArray> sectors;
        for (int i = 0; i < 8; ++i)
            sectors.append(SyntheticFirmware::sectorData(256, i));
        FirmwareFile fw;
        QByteArray eight = SyntheticFirmware::image(QStringLiteral("KDR-450P"), sectors);
        QVERIFY(fw.load(store(eight)));
        QCOMPARE(fw.sectorCount(), 8);

        // A ninth size entry would fall on the checksum field.
        QByteArray nine = eight;
        nine[46] = char(9);
        QVERIFY(!fw.load(store(nine)));
        QVERIFY(fw.statusText(QString()).contains(QLatin1String("is not a valid BL2 file.")));
        nine[46] = char(255);
        QVERIFY(!fw.load(store(nine)));
    }

    void aNegativeSectorSizeMakesTheFileInvalid()
    {
        QByteArray image = SyntheticFirmware::image(
            QStringLiteral("KDR-450P"),
            {SyntheticFirmware::sectorData(256, 1), SyntheticFirmware::sectorData(256, 2)});
        qToLittleEndian<qint32>(-256, image.data() + 72);
        FirmwareFile fw;
        QVERIFY(!fw.load(store(image)));
        QVERIFY(!fw.isValid());
    }

    void aSectorReachingPastTheEndOfTheFileMakesItInvalid()
    {
        const QByteArray image = SyntheticFirmware::oneSector(QStringLiteral("KDR-450P"), 1024);
        FirmwareFile fw;
        QVERIFY(!fw.load(store(image.left(image.size() - 1))));

        for (qint32 size : {1025, 0x7fffffff}) {
            QByteArray oversized = image;
            qToLittleEndian<qint32>(size, oversized.data() + 68);
            QVERIFY(!fw.load(store(oversized)));
            QVERIFY(fw.sector(0).isNull());
            QCOMPARE(fw.totalSize(), -1);
        }
    }

    void aSecondLoadReplacesTheStateOfTheFirst()
    {
        FirmwareFile fw;
        QVERIFY(fw.load(store(SyntheticFirmware::oneSector(), QStringLiteral("good.bl2"))));
        QVERIFY(!fw.load(m_dir.filePath(QStringLiteral("absent.bl2"))));
        QVERIFY(!fw.isValid());
        QCOMPARE(fw.sectorCount(), -1);
        QVERIFY(fw.load(store(SyntheticFirmware::oneSector(), QStringLiteral("good.bl2"))));
        QVERIFY(fw.isValid());
    }

    void randomBytesAfterTheMagicNeverReadOutsideTheFile()
    {
        QRandomGenerator rng(42);
        for (int round = 0; round < 300; ++round) {
            QByteArray junk(int(rng.bounded(2000)), Qt::Uninitialized);
            for (char &c : junk)
                c = char(rng.bounded(256));
            junk.replace(0, qMin(5, int(junk.size())), QByteArray("BLU2\0", 5).left(junk.size()));
            FirmwareFile fw;
            if (!fw.load(store(junk)))
                continue;
            // Reading every byte lets the address sanitizer catch any stray view.
            quint32 sum = 0;
            for (int i = 0; i < 9; ++i) {
                const QByteArrayView s = fw.sector(i);
                for (char c : s)
                    sum += uchar(c);
                if (!s.isNull() && !fw.headerBlock().isNull())
                    QVERIFY(s.data() + s.size() <= fw.headerBlock().data() + junk.size());
            }
            Q_UNUSED(sum);
            fw.totalSize();
            fw.statusText(QStringLiteral("KDR-450P"));
        }
    }

    void withoutAnEmbeddedImageNoBuiltinFirmwareIsOffered()
    {
#ifdef KDR_HAVE_BUILTIN_FIRMWARE
        QVERIFY(FirmwareFile::hasBuiltinImage());
        FirmwareFile fw;
        QVERIFY(fw.load(FirmwareFile::builtinImagePath()));
#else
        QVERIFY(!FirmwareFile::hasBuiltinImage());
        QVERIFY(!QFile::exists(FirmwareFile::builtinImagePath()));
#endif
    }
};

QTEST_GUILESS_MAIN(FirmwareFileTest)
#include "test_firmware_file.moc"
