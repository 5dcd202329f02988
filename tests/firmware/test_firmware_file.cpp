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
        QCOMPARE(fw.check().validation, FirmwareFile::Validation::ChecksumMismatch);
        QCOMPARE(fw.check().storedChecksum, sum);
        QCOMPARE(fw.check().computedChecksum, sum + 1);
    }

    // Each refusal names the rule and the figures that broke it; nothing is read outside.
    void aRefusedFileSaysWhichRuleItBrokeWithItsFigures_data()
    {
        using V = FirmwareFile::Validation;
        QTest::addColumn<QByteArray>("contents"); // null: no such file
        QTest::addColumn<V>("validation");
        QTest::addColumn<qint64>("fileSize");
        QTest::addColumn<int>("sectorCount");
        QTest::addColumn<int>("sector");
        QTest::addColumn<qint64>("sectorSize");

        QTest::newRow("missing") << QByteArray() << V::Unreadable << qint64(-1) << 0 << -1
                                 << qint64(0);
        const QByteArray headerOnly = SyntheticFirmware::image(QStringLiteral("KDR-450P"), {});
        for (int length : {0, 4})
            QTest::addRow("%d bytes: no magic", length)
                << headerOnly.left(length) << V::BadMagic << qint64(length) << 0 << -1 << qint64(0);
        for (int length : {5, 46, 47, 100, 103, 104, 255})
            QTest::addRow("%d bytes: shorter than the header", length)
                << headerOnly.left(length) << V::ShorterThanHeader << qint64(length) << 0 << -1
                << qint64(0);
        QByteArray image = SyntheticFirmware::oneSector();
        image[4] = 'X';
        QTest::newRow("wrong fifth magic byte")
            << image << V::BadMagic << qint64(image.size()) << 0 << -1 << qint64(0);

        QList<QByteArray> eightSectors;
        for (int i = 0; i < 8; ++i)
            eightSectors.append(SyntheticFirmware::sectorData(256, i));
        // A ninth size entry would fall on the checksum field.
        for (int count : {9, 255}) {
            QByteArray many = SyntheticFirmware::image(QStringLiteral("KDR-450P"), eightSectors);
            many[46] = char(count);
            QTest::addRow("%d sectors", count)
                << many << V::TooManySectors << qint64(many.size()) << count << -1 << qint64(0);
        }

        image = SyntheticFirmware::image(
            QStringLiteral("KDR-450P"),
            {SyntheticFirmware::sectorData(256, 1), SyntheticFirmware::sectorData(256, 2)});
        qToLittleEndian<qint32>(-256, image.data() + 72);
        QTest::newRow("negative size of sector 1")
            << image << V::SectorOutsideFile << qint64(image.size()) << 0 << 1 << qint64(-256);
        const QByteArray oneKb = SyntheticFirmware::oneSector(QStringLiteral("KDR-450P"), 1024);
        QTest::newRow("cut one byte short") << oneKb.left(oneKb.size() - 1) << V::SectorOutsideFile
                                            << qint64(oneKb.size() - 1) << 0 << 0 << qint64(1024);
        for (qint32 size : {1025, 0x7fffffff}) {
            QByteArray oversized = oneKb;
            qToLittleEndian<qint32>(size, oversized.data() + 68);
            QTest::addRow("sector 0 of %d bytes", size)
                << oversized << V::SectorOutsideFile << qint64(oversized.size()) << 0 << 0
                << qint64(size);
        }
    }

    void aRefusedFileSaysWhichRuleItBrokeWithItsFigures()
    {
        QFETCH(QByteArray, contents);
        QFETCH(FirmwareFile::Validation, validation);
        QFETCH(qint64, fileSize);
        QFETCH(int, sectorCount);
        QFETCH(int, sector);
        QFETCH(qint64, sectorSize);
        const QString path =
            contents.isNull() ? m_dir.filePath(QStringLiteral("absent.bl2")) : store(contents);
        FirmwareFile fw;
        QVERIFY(!fw.load(path));
        QVERIFY(!fw.isValid());
        QCOMPARE(fw.isUnreadable(), validation == FirmwareFile::Validation::Unreadable);
        const FirmwareFile::Check &check = fw.check();
        QCOMPARE(check.validation, validation);
        QCOMPARE(check.fileSize, fileSize);
        QCOMPARE(check.sectorCount, sectorCount);
        QCOMPARE(check.sector, sector);
        QCOMPARE(check.sectorSize, sectorSize);
        QCOMPARE(fw.sectorCount(), -1);
        QCOMPARE(fw.totalSize(), -1);
        QVERIFY(fw.headerBlock().isNull());
        QVERIFY(fw.sector(0).isNull());
        QVERIFY(!fw.isForDevice(QStringLiteral("KDR-450P")));
    }

    void aFileFitsOnlyTheDeviceItNames()
    {
        FirmwareFile fw;
        QVERIFY(fw.load(store(SyntheticFirmware::oneSector())));
        QCOMPARE(fw.check().validation, FirmwareFile::Validation::Valid);
        QVERIFY(fw.isForDevice(QStringLiteral("KDR-450P")));
        QVERIFY(!fw.isForDevice(QStringLiteral("kdr-450p")));
        QVERIFY(!fw.isForDevice(QString()));
    }

    void eightSectorsAreTheMostAFileMayHave()
    {
        QList<QByteArray> sectors;
        for (int i = 0; i < 8; ++i)
            sectors.append(SyntheticFirmware::sectorData(256, i));
        FirmwareFile fw;
        QVERIFY(fw.load(store(SyntheticFirmware::image(QStringLiteral("KDR-450P"), sectors))));
        QCOMPARE(fw.sectorCount(), 8);
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
            QCOMPARE(fw.check().validation, FirmwareFile::Validation::Valid);
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
